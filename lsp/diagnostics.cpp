#include "lsp/diagnostics.h"

#include "frontend/display_text.h"
#include "lsp/listing_answers.h"
#include "lsp/uri.h"
#include "source/line_classification.h"

namespace {

enum Severity : int { kWarning = 2, kInformation = 3, kHint = 4 };
constexpr int kUnnecessary = 1;

Json Diagnostic(Json range, int severity, std::string_view message) {
  return {{"range", std::move(range)}, {"severity", severity}, {"source", "pb-sourcetrek"},
          {"message", ToDisplayText(message)}};
}

/// The name of the procedure of a check's row: its head's, or the Declare's.
std::string RowProcedureName(std::string_view line) {
  const size_t blank = line.find_first_of(" \t");
  std::string rest(blank == std::string_view::npos ? "" : line.substr(blank + 1));
  rest.erase(std::min(rest.find('('), rest.size()));
  while (!rest.empty() && rest.back() == ' ') rest.pop_back();
  const size_t start = rest.find_first_not_of(' ');
  return start == std::string::npos ? "" : rest.substr(start);
}

void AddUnused(RequestScope& scope, ServedProject& served, ProjectLines& lines, std::map<std::string, Json>& found) {
  const ListingOutput& unused = RunCatalogListing(served, "unused", {}, scope.Host);
  for (int32_t row = 0; row < unused.List->RowCount(); ++row) {
    const RowSpot spot = SpotOfRow(served.State, *unused.List, row);
    if (!IsLineRow(*unused.List, row) || spot.File < 0) continue;
    const std::string name = RowProcedureName(unused.List->CellText(row, ColumnCalls));
    Json diagnostic = Diagnostic(lines.NameRange(spot.File, spot.Line, name), kHint,
                                 unused.List->CellText(row, ColumnCount));
    diagnostic["tags"] = {kUnnecessary};
    found[served.State.SourceFiles[spot.File].Path].push_back(std::move(diagnostic));
  }
}

/// A Declare check finding as a diagnostic; null for a row that only shows where.
Json DeclareFinding(std::string_view reason, Json range) {
  if (reason == "missing") return Diagnostic(std::move(range), kWarning, "Declare missing: called above its head");
  if (reason == "orphan") return Diagnostic(std::move(range), kInformation, "orphan Declare: no procedure of this name");
  if (reason.substr(0, 8) == "differs:") return Diagnostic(std::move(range), kWarning, "Declare " + std::string(reason));
  return nullptr;
}

void AddDeclareCheck(RequestScope& scope, ServedProject& served, ProjectLines& lines, std::map<std::string, Json>& found) {
  const ListingOutput& check = RunCatalogListing(served, "declare-check", {}, scope.Host);
  for (int32_t row = 0; row < check.List->RowCount(); ++row) {
    const RowSpot spot = SpotOfRow(served.State, *check.List, row);
    if (!IsLineRow(*check.List, row) || spot.File < 0) continue;
    const std::string name = RowProcedureName(check.List->CellText(row, ColumnCalls));
    Json diagnostic = DeclareFinding(check.List->CellText(row, ColumnCount), lines.NameRange(spot.File, spot.Line, name));
    if (!diagnostic.is_null()) found[served.State.SourceFiles[spot.File].Path].push_back(std::move(diagnostic));
  }
}

void AddUnreadableIncludes(const Project& project, ProjectLines& lines, std::map<std::string, Json>& found) {
  for (size_t file = 0; file < project.SourceFiles.size(); ++file) {
    for (const IncludeSite& site : project.SourceFiles[file].Includes) {
      if (site.Entry == IncludeSite::NoEntry) continue;
      const SourceFile& included = project.SourceFiles[site.Entry];
      if (included.Unresolved.empty() && project.Texts.Bytes(included.Path) != nullptr) continue;
      const std::string named = included.Unresolved.empty() ? included.Path : included.Unresolved;
      found[project.SourceFiles[file].Path].push_back(
          Diagnostic(lines.NameRange(static_cast<int32_t>(file), site.Line, ""), kWarning,
                     "the include names no readable file: " + named));
    }
  }
}

}  // namespace

std::map<std::string, Json> ProjectDiagnostics(RequestScope& scope, ServedProject& served) {
  std::map<std::string, Json> found;
  ProjectLines lines(served.State, scope.Encoding, served.Lines);
  RunChecks(served, scope.Host);
  AddUnused(scope, served, lines, found);
  AddDeclareCheck(scope, served, lines, found);
  AddUnreadableIncludes(served.State, lines, found);
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
