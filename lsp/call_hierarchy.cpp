#include "lsp/call_hierarchy.h"

#include <algorithm>
#include <map>

#include "listings/call_graph.h"
#include "listings/row_location.h"
#include "lsp/listing_answers.h"
#include "lsp/procedure_target.h"
#include "lsp/uri.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/text_parts.h"

namespace {

constexpr int kFunctionKind = 12;
constexpr int kFileKind = 1;

/// The item of procedure `head`.
Json ProcedureItem(ProjectLines& lines, const Project& project, int32_t head) {
  const ProcedureEntry& entry = project.Procedures[head];
  const std::string name = BareName(entry.HeadText);
  const Json selection = lines.NameRange(entry.File, entry.LineNumber, name);
  const Json whole = lines.NameRange(entry.File, entry.LineNumber, "");
  const std::string path = project.SourceFiles[entry.File].Path;
  return {{"name", entry.Module.empty() ? name : entry.Module + "::" + name},
          {"kind", kFunctionKind}, {"detail", entry.HeadText}, {"uri", UriOfPath(path)},
          {"range", whole}, {"selectionRange", selection},
          {"data", {{"path", path}, {"line", entry.LineNumber}, {"name", name}}}};
}

/// The item of the code outside any procedure in file `file`.
Json MainCodeItem(const Project& project, int32_t file) {
  const std::string& path = project.SourceFiles[file].Path;
  const Json start = {{"line", 0}, {"character", 0}};
  const Json range = {{"start", start}, {"end", start}};
  return {{"name", "main code"}, {"kind", kFileKind}, {"detail", std::string(FileNamePart(path))},
          {"uri", UriOfPath(path)}, {"range", range}, {"selectionRange", range},
          {"data", {{"path", path}, {"main", true}}}};
}

/// An item as the client hands it back: its project, file and head (-1 for main code).
struct ItemOfRequest {
  DocumentInProject Document;
  int32_t Head = -1;
  bool Known = false;  ///< the item still names a head or a file of its project
};

ItemOfRequest ItemOf(RequestScope& scope, const Json& params) {
  const Json& data = params.at("item").at("data");
  const std::string path = data.at("path").get<std::string>();
  ItemOfRequest item{ProjectDocument(scope, {{"textDocument", {{"uri", UriOfPath(path)}}}})};
  if (item.Document.File < 0) return item;
  if (data.value("main", false)) return {item.Document, -1, true};
  const int32_t line = data.at("line").get<int32_t>();
  const std::string name = data.at("name").get<std::string>();
  const ProcedureIndex& procedures = item.Document.Served->State.Procedures;
  for (size_t entry = 0; entry < procedures.size(); ++entry) {
    if (procedures[entry].File == item.Document.File && procedures[entry].LineNumber == line &&
        BareName(procedures[entry].HeadText) == name) {
      return {item.Document, static_cast<int32_t>(entry), true};
    }
  }
  return item;
}

/// The calls gathered for one caller or callee: its item and where the calls stand.
struct CallGroup {
  Json Item;
  Json Ranges = Json::array();
};

Json GroupsJson(std::map<std::pair<int32_t, int32_t>, CallGroup>& groups, const char* end) {
  Json calls = Json::array();
  for (auto& [key, group] : groups) calls.push_back({{end, group.Item}, {"fromRanges", group.Ranges}});
  return calls;
}

}  // namespace

Json AnswerPrepareCallHierarchy(RequestScope& scope, const Json& params) {
  DocumentInProject document;
  const std::optional<ProcedureTarget> target = TargetOfRequest(scope, params, document);
  if (!target) return nullptr;
  ProjectLines lines(document.Served->State, scope.Encoding, document.Served->Lines);
  Json items = Json::array();
  for (const int32_t head : target->Heads) items.push_back(ProcedureItem(lines, document.Served->State, head));
  return items;
}

Json AnswerIncomingCalls(RequestScope& scope, const Json& params) {
  const ItemOfRequest item = ItemOf(scope, params);
  if (!item.Known || item.Head < 0) return Json::array();
  ServedProject& served = *item.Document.Served;
  const Project& project = served.State;
  const ListingOutput& calls = RunCatalogListing(served, "calls", RequestFor(project.Procedures[item.Head]), scope.Host);
  const std::string name = BareName(project.Procedures[item.Head].HeadText);
  ProjectLines lines(project, scope.Encoding, served.Lines);
  std::map<std::pair<int32_t, int32_t>, CallGroup> groups;  // (0, caller) or (1, file)
  for (int32_t row = 0; row < calls.List->RowCount(); ++row) {
    const RowSpot spot = SpotOfRow(project, *calls.List, row);
    if (!IsLineRow(*calls.List, row) || spot.File < 0 || IsDeclareLine(calls.List->CellText(row, ColumnCalls))) continue;
    const int32_t caller = ProcedureOfLabel(project, calls.List->CellText(row, ColumnFunction), spot.File);
    CallGroup& group = groups[caller >= 0 ? std::make_pair(0, caller) : std::make_pair(1, spot.File)];
    if (group.Item.is_null()) group.Item = caller >= 0 ? ProcedureItem(lines, project, caller) : MainCodeItem(project, spot.File);
    group.Ranges.push_back(lines.NameRange(spot.File, spot.Line, name));
  }
  return GroupsJson(groups, "from");
}

namespace {

/// Adds the rows of `list` to `groups` by the callee that `callee_of(row)` names; -1 skips.
/// `separator()` is called at each separator row.
template <typename CalleeOf, typename Separator>
void GroupCallees(const Project& project, const ResultList& list, ProjectLines& lines,
                  std::map<std::pair<int32_t, int32_t>, CallGroup>& groups, CalleeOf callee_of,
                  Separator separator) {
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    if (list.Row(row).Marks.Has(RowMark::Separator)) separator();
    const RowSpot spot = SpotOfRow(project, list, row);
    const int32_t callee = IsLineRow(list, row) && spot.File >= 0 ? callee_of(row, spot) : -1;
    if (callee < 0) continue;
    CallGroup& group = groups[{0, callee}];
    if (group.Item.is_null()) group.Item = ProcedureItem(lines, project, callee);
    group.Ranges.push_back(lines.NameRange(spot.File, spot.Line, BareName(project.Procedures[callee].HeadText)));
  }
}

/// The all-calls listing's calls outside any procedure in file `file`, by callee.
void GroupMainCodeCalls(RequestScope& scope, ServedProject& served, int32_t file, ProjectLines& lines,
                        std::map<std::pair<int32_t, int32_t>, CallGroup>& groups) {
  const Project& project = served.State;
  const ListingOutput& all = RunCatalogListing(served, "all-calls", {}, scope.Host);
  int32_t current = -1;
  GroupCallees(project, *all.List, lines, groups, [&](int32_t row, RowSpot spot) {
    const ResultList& list = *all.List;
    if (list.Row(row).Marks.Has(RowMark::ProcedureRow)) {
      const std::string label = std::string(list.CellText(row, ColumnLine)) + " " + std::string(list.CellText(row, ColumnCalls));
      current = ProcedureOfLabel(project, WithoutLeading(label, ' '), spot.File);
      return -1;
    }
    const bool main_code = list.CellText(row, ColumnFunction).empty() && spot.File == file &&
                           !IsDeclareLine(list.CellText(row, ColumnCalls));
    const bool own_head = current >= 0 && project.Procedures[current].File == spot.File &&
                          project.Procedures[current].LineNumber == spot.Line;
    return main_code && !own_head ? current : -1;
  }, [] {});
}

}  // namespace

Json AnswerOutgoingCalls(RequestScope& scope, const Json& params) {
  const ItemOfRequest item = ItemOf(scope, params);
  if (!item.Known) return Json::array();
  ServedProject& served = *item.Document.Served;
  const Project& project = served.State;
  ProjectLines lines(project, scope.Encoding, served.Lines);
  std::map<std::pair<int32_t, int32_t>, CallGroup> groups;
  if (item.Head < 0) {
    GroupMainCodeCalls(scope, served, item.Document.File, lines, groups);
    return GroupsJson(groups, "to");
  }
  const ListingRequest request = RequestFor(project.Procedures[item.Head]);
  const ListingOutput& callees = RunCatalogListing(served, "callees", request, scope.Host);
  // The listing gives the calls of each head of the name, in index order, a separator row
  // between two heads: the item's are the rows of its head's place among them.
  const std::vector<int32_t> heads = HeadsNamed(project.Procedures, request.Text, request.WithoutModule);
  const auto own = std::find(heads.begin(), heads.end(), item.Head) - heads.begin();
  std::ptrdiff_t group = 0;
  GroupCallees(project, *callees.List, lines, groups, [&](int32_t row, RowSpot spot) {
    return group == own ? ProcedureOfLabel(project, callees.List->CellText(row, ColumnFunction), spot.File) : -1;
  }, [&group] { ++group; });
  return GroupsJson(groups, "to");
}
