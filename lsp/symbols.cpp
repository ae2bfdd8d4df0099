#include "lsp/symbols.h"

#include <map>
#include <set>

#include "frontend/display_text.h"
#include "lsp/listing_answers.h"
#include "lsp/procedure_target.h"
#include "lsp/uri.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/text_parts.h"

namespace {

constexpr int kModuleKind = 2;
constexpr int kFunctionKind = 12;

Json ProcedureSymbol(ProjectLines& lines, const ProcedureEntry& entry) {
  return {{"name", BareName(entry.HeadText)}, {"detail", ToDisplayText(entry.HeadText)},
          {"kind", kFunctionKind}, {"range", lines.NameRange(entry.File, entry.LineNumber, "")},
          {"selectionRange", lines.NameRange(entry.File, entry.LineNumber, BareName(entry.HeadText))},
          {"children", Json::array()}};
}

/// A module's symbol spans its procedures' heads, from the first to the last.
Json ModuleSymbol(const std::string& module, const Json& children) {
  const Json& first = children.front()["range"];
  const Json& last = children.back()["range"];
  const Json range = {{"start", first["start"]}, {"end", last["end"]}};
  return {{"name", module}, {"kind", kModuleKind}, {"range", range},
          {"selectionRange", children.front()["selectionRange"]}, {"children", children}};
}

std::string QualifiedName(const ProcedureEntry& entry) {
  const std::string name = BareName(entry.HeadText);
  return entry.Module.empty() ? name : entry.Module + "::" + name;
}

}  // namespace

bool MatchesSubsequence(std::string_view name, std::string_view query) {
  const std::string folded_name = FoldedName(name);
  const std::string folded_query = FoldedName(query);
  size_t at = 0;
  for (const char c : folded_query) {
    at = folded_name.find(c, at);
    if (at == std::string::npos) return false;
    ++at;
  }
  return true;
}

Json AnswerDocumentSymbols(RequestScope& scope, const Json& params) {
  const DocumentInProject document = ProjectDocument(scope, params);
  Json symbols = Json::array();
  if (document.File < 0) return symbols;
  const Project& project = document.Served->State;
  ProjectLines lines(project, scope.Encoding);
  std::map<std::string, Json> modules;  // by module, in order of their first procedure
  std::vector<std::string> module_order;
  for (const ProcedureEntry& entry : project.Procedures) {
    if (entry.File != document.File) continue;
    if (entry.Module.empty()) {
      symbols.push_back(ProcedureSymbol(lines, entry));
      continue;
    }
    if (modules.count(entry.Module) == 0) module_order.push_back(entry.Module);
    modules[entry.Module].push_back(ProcedureSymbol(lines, entry));
  }
  for (const std::string& module : module_order) symbols.push_back(ModuleSymbol(module, modules[module]));
  return symbols;
}

Json AnswerWorkspaceSymbols(RequestScope& scope, const Json& params) {
  const std::string query = params.at("query").get<std::string>();
  Json symbols = Json::array();
  std::set<std::pair<std::string, int32_t>> listed;  // a file in several projects
  for (ServedProject* served : scope.Documents.CurrentProjects(scope.Host)) {
    ProjectLines lines(served->State, scope.Encoding);
    for (const ProcedureEntry& entry : served->State.Procedures) {
      if (entry.File < 0 || !MatchesSubsequence(QualifiedName(entry), query)) continue;
      if (!listed.insert({served->State.SourceFiles[entry.File].Path, entry.LineNumber}).second) continue;
      Json symbol = {{"name", QualifiedName(entry)}, {"kind", kFunctionKind},
                     {"location", lines.Location(entry.File, entry.LineNumber, BareName(entry.HeadText))}};
      if (!entry.Module.empty()) symbol["containerName"] = entry.Module;
      symbols.push_back(std::move(symbol));
    }
  }
  return symbols;
}

namespace {

/// The identifier prefix that ends at byte `at` of `line`, and the module before its "::"
/// (empty for none).
std::pair<std::string, std::string> PrefixBefore(std::string_view line, size_t at) {
  size_t start = std::min(at, line.size());
  const size_t end = start;
  while (start > 0 && IsIdentifierChar(line[start - 1])) --start;
  std::string prefix(line.substr(start, end - start));
  size_t before = start;
  while (before > 0 && line[before - 1] == ' ') --before;
  if (before < 2 || line.substr(before - 2, 2) != "::") return {prefix, ""};
  size_t module_end = before - 2;
  while (module_end > 0 && line[module_end - 1] == ' ') --module_end;
  size_t module_start = module_end;
  while (module_start > 0 && IsIdentifierChar(line[module_start - 1])) --module_start;
  return {prefix, std::string(line.substr(module_start, module_end - module_start))};
}

bool StartsFolded(std::string_view name, std::string_view prefix) {
  return name.size() >= prefix.size() && FoldedName(name.substr(0, prefix.size())) == FoldedName(prefix);
}

}  // namespace

Json AnswerCompletion(RequestScope& scope, const Json& params) {
  const DocumentInProject document = ProjectDocument(scope, params);
  const TextPosition position = PositionOf(params.at("position"));
  Json items = Json::array();
  if (document.File < 0) return items;
  const Project& project = document.Served->State;
  ProjectLines lines(project, scope.Encoding);
  const std::string_view line = lines.Line(document.File, static_cast<int32_t>(position.Line) + 1);
  const auto [prefix, module] = PrefixBefore(line, ByteOfColumn(line, position.Column, scope.Encoding));
  if (prefix.empty() && module.empty()) return items;
  for (const ProcedureEntry& entry : project.Procedures) {
    const std::string name = BareName(entry.HeadText);
    if (!module.empty() && FoldedName(entry.Module) != FoldedName(module)) continue;
    if (!StartsFolded(name, prefix)) continue;
    items.push_back({{"label", name}, {"kind", 3}, {"detail", ToDisplayText(entry.HeadText)},
                     {"labelDetails", {{"description", entry.Module}}}});
  }
  return items;
}

namespace {

/// What the unused listing says of procedure `head`: its reason, or empty.
std::string UnusedReason(RequestScope& scope, ServedProject& served, int32_t head) {
  const ListingOutput& unused = RunCatalogListing(served, "unused", {}, scope.Host);
  const ProcedureEntry& entry = served.State.Procedures[head];
  for (int32_t row = 0; row < unused.List->RowCount(); ++row) {
    const RowSpot spot = SpotOfRow(served.State, *unused.List, row);
    if (spot.File == entry.File && spot.Line == entry.LineNumber) {
      return std::string(unused.List->CellText(row, ColumnCount));
    }
  }
  return {};
}

std::string HoverText(RequestScope& scope, ServedProject& served, int32_t head) {
  const ProcedureEntry& entry = served.State.Procedures[head];
  const ListingOutput& calls = RunCatalogListing(served, "calls", RequestFor(entry), scope.Host);
  int calls_count = 0;
  std::string declare;
  for (int32_t row = 0; row < calls.List->RowCount(); ++row) {
    if (!IsLineRow(*calls.List, row)) continue;
    const std::string_view line = calls.List->CellText(row, ColumnCalls);
    if (!IsDeclareLine(line)) ++calls_count;
    else if (declare.empty()) declare = ToDisplayText(line);
  }
  std::string text = "```purebasic\n" + ToDisplayText(entry.HeadText) + "\n```\n\n" +
                     ToDisplayText(entry.FileName) + ":" + std::to_string(entry.LineNumber) + ", " +
                     std::to_string(calls_count) + (calls_count == 1 ? " call" : " calls");
  const std::string reason = UnusedReason(scope, served, head);
  if (!reason.empty()) text += ", " + reason;
  if (!declare.empty()) text += "\n\n```purebasic\n" + declare + "\n```";
  return text;
}

}  // namespace

Json AnswerHover(RequestScope& scope, const Json& params) {
  DocumentInProject document;
  const std::optional<ProcedureTarget> target = TargetOfRequest(scope, params, document);
  if (!target) return nullptr;
  std::string text;
  for (const int32_t head : target->Heads) {
    if (!text.empty()) text += "\n\n---\n\n";
    text += HoverText(scope, *document.Served, head);
  }
  ProjectLines lines(document.Served->State, scope.Encoding);
  const std::string_view line = lines.Line(document.File, target->Line);
  return {{"contents", {{"kind", "markdown"}, {"value", text}}},
          {"range", RangeJson(line, static_cast<uint32_t>(target->Line - 1), target->Name.Start,
                              target->Name.End, scope.Encoding)}};
}
