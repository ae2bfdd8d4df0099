#include "lsp/diagnostics.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "frontend/display_text.h"
#include "lsp/listing_answers.h"
#include "lsp/uri.h"
#include "source/line_classification.h"

namespace {

enum Severity : int { kWarning = 2, kInformation = 3, kHint = 4 };
constexpr int kUnnecessary = 1;

/// One diagnostic before it is placed in its file's lines.
struct Finding {
  int32_t Line = 0;
  std::string Name;  ///< the word whose range it marks; empty: the line
  int Severity = kHint;
  std::string Message;
  bool Unnecessary = false;
};

/// The findings of each file by file index.
using Findings = std::map<int32_t, std::vector<Finding>>;

/// The name of the procedure of a check's row: its head's, or the Declare's.
std::string RowProcedureName(std::string_view line) {
  const size_t blank = line.find_first_of(" \t");
  std::string rest(blank == std::string_view::npos ? "" : line.substr(blank + 1));
  rest.erase(std::min(rest.find('('), rest.size()));
  while (!rest.empty() && rest.back() == ' ') rest.pop_back();
  const size_t start = rest.find_first_not_of(' ');
  return start == std::string::npos ? "" : rest.substr(start);
}

/// Calls `add(spot, row)` for each row of a check that reports a line of the project.
template <typename Add>
void ForEachFindingRow(const ServedProject& served, const ResultList& list, Add add) {
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    const RowSpot spot = SpotOfRow(served.State, list, row);
    if (IsLineRow(list, row) && spot.File >= 0) add(spot, row);
  }
}

void AddUnused(RequestScope& scope, ServedProject& served, Findings& found) {
  const ListingOutput& unused = RunCatalogListing(served, "unused", {}, scope.Host);
  ForEachFindingRow(served, *unused.List, [&](RowSpot spot, int32_t row) {
    found[spot.File].push_back({spot.Line, RowProcedureName(unused.List->CellText(row, ColumnCalls)),
                                kHint, std::string(unused.List->CellText(row, ColumnCount)), true});
  });
}

/// A Declare check finding's severity and message; none for a row that only shows where.
std::optional<std::pair<int, std::string>> DeclareFinding(std::string_view reason) {
  if (reason == "missing") return std::pair{kWarning, std::string("Declare missing: called above its head")};
  if (reason == "orphan") return std::pair{kInformation, std::string("orphan Declare: no procedure of this name")};
  if (reason.substr(0, 8) == "differs:") return std::pair{kWarning, "Declare " + std::string(reason)};
  return std::nullopt;
}

void AddDeclareCheck(RequestScope& scope, ServedProject& served, Findings& found) {
  const ListingOutput& check = RunCatalogListing(served, "declare-check", {}, scope.Host);
  ForEachFindingRow(served, *check.List, [&](RowSpot spot, int32_t row) {
    const auto finding = DeclareFinding(check.List->CellText(row, ColumnCount));
    if (!finding) return;
    found[spot.File].push_back({spot.Line, RowProcedureName(check.List->CellText(row, ColumnCalls)),
                                finding->first, finding->second, false});
  });
}

void AddUnreadableIncludes(const Project& project, Findings& found) {
  for (size_t file = 0; file < project.SourceFiles.size(); ++file) {
    for (const IncludeSite& site : project.SourceFiles[file].Includes) {
      if (site.Entry == IncludeSite::NoEntry) continue;
      const SourceFile& included = project.SourceFiles[site.Entry];
      if (included.Unresolved.empty() && project.Texts.Bytes(included.Path) != nullptr) continue;
      const std::string named = included.Unresolved.empty() ? included.Path : included.Unresolved;
      found[static_cast<int32_t>(file)].push_back(
          {site.Line, "", kWarning, "the include names no readable file: " + named, false});
    }
  }
}

/// The findings of a file as one text, to tell whether they changed since published.
std::string FindingsText(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& finding : findings) {
    text += std::to_string(finding.Line) + ' ' + finding.Name + '\n' + std::to_string(finding.Severity) +
            (finding.Unnecessary ? "u " : " ") + finding.Message + '\n';
  }
  return text;
}

Json FileDiagnostics(ProjectLines& lines, int32_t file, const std::vector<Finding>& findings) {
  Json diagnostics = Json::array();
  for (const Finding& finding : findings) {
    Json diagnostic = {{"range", lines.NameRange(file, finding.Line, finding.Name)},
                       {"severity", finding.Severity}, {"source", "pb-sourcetrek"},
                       {"message", ToDisplayText(finding.Message)}};
    if (finding.Unnecessary) diagnostic["tags"] = {kUnnecessary};
    diagnostics.push_back(std::move(diagnostic));
  }
  return diagnostics;
}

}  // namespace

// A file that is no open document and whose findings and bytes are those published last
// gets null: it need not be sent again. What is found becomes `Pending`; it counts as
// published once it is sent.
std::map<std::string, Json> ProjectDiagnostics(RequestScope& scope, ServedProject& served) {
  RunChecks(served, scope.Host);
  Findings findings;
  AddUnused(scope, served, findings);
  AddDeclareCheck(scope, served, findings);
  AddUnreadableIncludes(served.State, findings);
  ProjectLines lines(served.State, scope.Encoding, served.Lines);
  const std::vector<std::string> open = scope.Documents.Documents();
  std::map<std::string, Json> found;
  served.PendingFindings.clear();
  for (const auto& [file, of_file] : findings) {
    const std::string& path = served.State.SourceFiles[static_cast<size_t>(file)].Path;
    FileFindings now{FindingsText(of_file), served.State.Texts.Bytes(path)};
    const auto published = served.PublishedFindings.find(path);
    const bool same = published != served.PublishedFindings.end() && published->second.Text == now.Text &&
                      published->second.Bytes == now.Bytes;
    const bool is_open = std::find(open.begin(), open.end(), path) != open.end();
    Json& diagnostics = found[path];
    if (!same || is_open) diagnostics = FileDiagnostics(lines, file, of_file);
    served.PendingFindings.insert_or_assign(path, std::move(now));
  }
  return found;
}

namespace {

/// The 0-based line after the main file's leading comment and blank lines.
uint32_t LineAfterLeadingComments(ProjectLines& lines, int32_t file) {
  const int32_t count = lines.LineCount(file);
  int32_t line = 1;
  for (; line <= count; ++line) {
    const std::string_view text = lines.Line(file, line);
    const size_t first = text.find_first_not_of(" \t");
    if (first != std::string_view::npos && text[first] != ';') break;
  }
  return static_cast<uint32_t>(line - 1);
}

/// `text` with CR LF line ends as LF ones, unless the file has CR LF.
std::string WithLineEndsOf(std::string text, std::string_view file_bytes) {
  if (file_bytes.find("\r\n") != std::string_view::npos) return text;
  std::string converted;
  for (const char c : text) {
    if (c != '\r') converted.push_back(c);
  }
  return converted;
}

}  // namespace

Json AnswerCodeActions(RequestScope& scope, const Json& params) {
  const DocumentInProject document = ProjectDocument(scope, params);
  Json actions = Json::array();
  ServedProject& served = *document.Served;
  const ListingOutput& check = RunCatalogListing(served, "declare-check", {}, scope.Host);
  if (check.Result.DeclareText.empty() || served.State.SourceFiles.empty()) return actions;
  ProjectLines lines(served.State, scope.Encoding);
  const uint32_t line = LineAfterLeadingComments(lines, 0);
  const std::shared_ptr<const std::string> bytes = served.State.Texts.Bytes(served.State.SourceFiles[0].Path);
  const Json at = {{"line", line}, {"character", 0}};
  const Json edit = {{"range", {{"start", at}, {"end", at}}},
                     {"newText", ToDisplayText(WithLineEndsOf(check.Result.DeclareText, bytes ? *bytes : ""))}};
  const std::string uri = UriOfPath(served.State.SourceFiles[0].Path);
  actions.push_back({{"title", "Add missing Declares"}, {"kind", "quickfix"},
                     {"edit", {{"changes", {{uri, Json::array({edit})}}}}}});
  return actions;
}
