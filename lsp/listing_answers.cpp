#include "lsp/listing_answers.h"

#include <algorithm>

#include "listings/check_graph.h"
#include "listings/declare_check.h"
#include "listings/folded_search.h"
#include "listings/listing_catalog.h"
#include "listings/listing_rows.h"
#include "listings/row_location.h"
#include "listings/unused.h"
#include "lsp/uri.h"
#include "source/text_parts.h"

namespace {

// Letter by letter, without a folded copy of either: it is asked at every word of a line.
bool EqualFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t at = 0; at < a.size(); ++at) {
    if (FoldAsciiLetter(a[at]) != FoldAsciiLetter(b[at])) return false;
  }
  return true;
}

/// The key of a run in a project's cache of runs.
std::string RunKey(std::string_view name, const ListingRequest& request) {
  return std::string(name) + '\n' + request.Text + '\n' + (request.WithoutModule ? "1" : "0") +
         (request.Direction == TreeDirection::Callers ? "c" : "d") + std::to_string(request.Depth);
}

}  // namespace

const ListingOutput& RunCatalogListing(ServedProject& project, std::string_view name,
                                       const ListingRequest& request, ListingHost& host) {
  const std::string key = RunKey(name, request);
  const auto known = project.Runs.find(key);
  if (known != project.Runs.end()) return known->second;
  const ListingEntry& listing = CatalogListing(name);
  const std::string subject = request.Text.empty() ? std::string(listing.Title) : request.Text;
  ListingOutput output{std::make_unique<ResultList>(listing.Kind, subject), {}};
  output.Result = listing.Run(project.State, *output.List, host, request);
  if (WasStopped(output.Result)) throw RpcFailure{RequestCancelled, "the request was cancelled"};
  return project.Runs.emplace(key, std::move(output)).first->second;
}

namespace {

/// The output of a check over `graph` into a new list of the catalog's listing `name`.
template <typename Check>
ListingOutput CheckOutput(std::string_view name, Check check) {
  const ListingEntry& listing = CatalogListing(name);
  ListingOutput output{std::make_unique<ResultList>(listing.Kind, listing.Title), {}};
  output.Result = check(*output.List);
  return output;
}

}  // namespace

// The two checks read the same project and build the same graph: once for both.
void RunChecks(ServedProject& project, ListingHost& host) {
  const std::string unused = RunKey("unused", {});
  const std::string declares = RunKey("declare-check", {});
  if (project.Runs.count(unused) != 0 && project.Runs.count(declares) != 0) return;
  const StopEnabled stop(host);
  std::shared_ptr<const ProjectText> text;
  std::shared_ptr<const CallGraph> graph;
  ResultList stopped(ListKind::Unused, "");
  if (ReadCheckGraph(project.State, text, graph, stopped, host) == ListingEnd::Stopped) {
    throw RpcFailure{RequestCancelled, "the request was cancelled"};
  }
  ListingOutput check = CheckOutput("declare-check", [&](ResultList& list) {
    return ListDeclareCheckIn(project.State, *text, *graph, list, host);
  });
  if (WasStopped(check.Result)) throw RpcFailure{RequestCancelled, "the request was cancelled"};
  project.Runs.insert_or_assign(declares, std::move(check));
  project.Runs.insert_or_assign(unused, CheckOutput("unused", [&](ResultList& list) {
    return ListUnusedIn(project.State, *graph, list);
  }));
}

RowSpot SpotOfRow(const Project& project, const ResultList& list, int32_t row) {
  const RowLocation location = LocateRow(list, row, project.SourceFiles);
  if (location.File == nullptr) return {};
  return {static_cast<int32_t>(location.File - project.SourceFiles.data()), location.Line};
}

bool IsLineRow(const ResultList& list, int32_t row) {
  const RowMarks marks = list.Row(row).Marks;
  return !marks.Has(RowMark::Separator) && !marks.Has(RowMark::ClosingRow) &&
         RowLineNumber(list.CellText(row, ColumnLine)) > 0;
}

namespace {

/// The entry whose head is `head` on line `line`: the one in file `file` (or named
/// `file_name` when that is not empty) first; -1 for none.
int32_t EntryOfHead(const Project& project, int32_t line, std::string_view head, int32_t file,
                    std::string_view file_name) {
  int32_t found = -1;
  for (size_t entry = 0; entry < project.Procedures.size(); ++entry) {
    const ProcedureEntry& procedure = project.Procedures[entry];
    if (procedure.LineNumber != line || procedure.HeadText != head) continue;
    if (file_name.empty() ? procedure.File == file : procedure.FileName == file_name) {
      return static_cast<int32_t>(entry);
    }
    if (found < 0) found = static_cast<int32_t>(entry);
  }
  return found;
}

}  // namespace

// A callee row's label names the callee's file after `CalleeFileMark` when it is another
// than the call's; a head that holds the mark itself is still found whole.
int32_t ProcedureOfLabel(const Project& project, std::string_view label, int32_t file) {
  label = WithoutLeading(label, ' ');
  const int32_t line = RowLineNumber(label);
  const size_t blank = label.find(' ');
  if (line <= 0 || blank == std::string_view::npos) return -1;
  const std::string_view head = label.substr(blank + 1);
  const size_t mark = head.rfind(CalleeFileMark);
  if (mark != std::string_view::npos) {
    const int32_t entry = EntryOfHead(project, line, head.substr(0, mark), file,
                                      head.substr(mark + CalleeFileMark.size()));
    if (entry >= 0) return entry;
  }
  return EntryOfHead(project, line, head, file, "");
}

ListingRequest RequestFor(const ProcedureEntry& entry) {
  ListingRequest request;
  const std::string name = ProcedureNameFromHead(entry.HeadText);
  request.Text = entry.Module.empty() ? name : entry.Module + "::" + name;
  request.WithoutModule = entry.Module.empty();
  return request;
}

std::string BareName(std::string_view head_text) {
  std::string name = ProcedureNameFromHead(head_text);
  name.erase(std::min(name.find('('), name.size()));
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
  return name;
}

size_t FindWord(std::string_view line, std::string_view name) {
  if (name.empty()) return std::string_view::npos;
  for (size_t at = 0; at + name.size() <= line.size(); ++at) {
    if (at > 0 && IsIdentifierChar(line[at - 1])) continue;
    if (at + name.size() < line.size() && IsIdentifierChar(line[at + name.size()])) continue;
    if (EqualFolded(line.substr(at, name.size()), name)) return at;
  }
  return std::string_view::npos;
}

Json RangeJson(std::string_view line, uint32_t line_index, size_t start, size_t end,
               PositionEncoding encoding) {
  return {{"start", {{"line", line_index}, {"character", ColumnOfByte(line, start, encoding)}}},
          {"end", {{"line", line_index}, {"character", ColumnOfByte(line, end, encoding)}}}};
}

// The bytes a file's index was made of are held with it: the same buffer is the same text,
// and another buffer (an edit, a file read again) is indexed anew.
const TextLines* ProjectLines::Indexed(int32_t file) {
  if (file < 0 || static_cast<size_t>(file) >= project_.SourceFiles.size()) return nullptr;
  std::shared_ptr<const std::string> bytes = project_.Texts.Bytes(project_.SourceFiles[file].Path);
  if (!bytes) bytes = std::make_shared<const std::string>();
  auto& held = files_[file];
  if (!held.second || held.first != bytes) {
    held.first = std::move(bytes);
    held.second = std::make_unique<TextLines>(*held.first);
  }
  return held.second.get();
}

std::string_view ProjectLines::Line(int32_t file, int32_t line) {
  const TextLines* lines = Indexed(file);
  if (lines == nullptr || line <= 0) return {};
  return lines->Line(static_cast<uint32_t>(line - 1));
}

int32_t ProjectLines::LineCount(int32_t file) {
  const TextLines* lines = Indexed(file);
  return lines == nullptr ? 0 : static_cast<int32_t>(lines->Count());
}

Json ProjectLines::NameRange(int32_t file, int32_t line, std::string_view name) {
  const std::string_view text = Line(file, line);
  const auto index = static_cast<uint32_t>(line > 0 ? line - 1 : 0);
  const size_t at = FindWord(text, name);
  if (at != std::string_view::npos) return RangeJson(text, index, at, at + name.size(), encoding_);
  const size_t first = std::min(text.find_first_not_of(" \t"), text.size());
  return RangeJson(text, index, first, text.size(), encoding_);
}

Json ProjectLines::Location(int32_t file, int32_t line, std::string_view name) {
  return {{"uri", UriOfPath(project_.SourceFiles[file].Path)}, {"range", NameRange(file, line, name)}};
}
