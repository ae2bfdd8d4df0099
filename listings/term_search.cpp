// Term search. It takes over the list that the procedure lookup opened and left behind,
// so it changes that list's kind and caption but opens nothing of its own. The files are
// read once into memory, and only lines that hold the term are matched.
#include "listings/term_search.h"

#include <algorithm>
#include <string>

#include "listings/folded_search.h"
#include "listings/project_text.h"
#include "listings/row_colours.h"
#include "listings/term_matching.h"
#include "source/line_classification.h"

const std::string_view DeclarationKeywords[6] = {"Protected",  "Static",     "Shared",
                                                 "Procedure ", "Procedure.", "Global"};

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

/// Background of a matching row, darker for a declaration line.
Rgb RowBackground(bool band, bool declaration) {
  if (band) return declaration ? TermDeclarationBandSetBackground : TermBandSetBackground;
  return declaration ? TermDeclarationBandClearBackground : TermBandClearBackground;
}

/// Appends the row of one matching line and gives it its texts and colours.
void AddMatchRow(ResultList& list, int32_t line_number, std::string_view line,
                 const TermMatch& match, const EnclosingProcedure& enclosing,
                 std::string_view file_name, bool band) {
  list.AddResultRow(std::to_string(line_number) + "\n" + std::string(line));
  const int32_t row = list.RowCount() - 1;
  list.SetCellText(row, ColumnFunction, enclosing.CurrentLabel());
  list.SetCellText(row, ColumnFile, file_name);
  if (!match.UseMarker.empty()) list.SetCellText(row, ColumnCount, match.UseMarker);
  list.SetRowBackground(row, RowBackground(band, IsDeclarationLine(enclosing.Inside(), line)));
  if (match.Result < 0) list.SetCellTextColour(row, ColumnCalls, MarkRed);
}

// MatchTerm blanks string literals and cuts the comment before it looks for the term,
// letters folded; blanking can make a match only for a term with a blank in it. So a
// term without blanks can match only a line that holds it.
bool MayMatch(std::string_view line, std::string_view term) {
  constexpr size_t npos = std::string_view::npos;
  return term.find(' ') != npos || FindFolded(line, term) != npos;
}

/// Where the search stands between files.
struct SearchState {
  EnclosingProcedure Enclosing{LabelStyle::Padded};
  bool Band = false;
  bool Stopped = false;
};

/// Appends the rows of one file's matching lines, after an empty separator row.
void ListFileMatches(const ProjectText& text, const ProjectFile& file, ResultList& list,
                     ListingHost& host, std::string_view term, SearchState& state) {
  state.Enclosing.StartFile();
  bool has_rows = false;
  for (size_t line = file.FirstLine; line < file.FirstLine + file.LineCount; ++line) {
    const LineKind kind = text.TermKind(line);
    if (kind == LineKind::Comment) continue;
    const std::string_view row_text = text.TermLine(line);
    const int32_t line_number = static_cast<int32_t>(line - file.FirstLine + 1);
    if (kind != LineKind::Other) state.Enclosing.Track(row_text, line_number);
    if (!MayMatch(row_text, term)) continue;
    const TermMatch match = MatchTerm(row_text, term);
    if (match.Result != 0) {
      if (!has_rows) {
        list.AddResultRow("");  // separator before the file's first row
        state.Band = !state.Band;  // only files with rows advance the alternation
        has_rows = true;
      }
      AddMatchRow(list, line_number, row_text, match, state.Enclosing, file.FileName, state.Band);
    }
    if (host.PollStop()) {
      state.Stopped = true;
      return;
    }
  }
}

}  // namespace

bool IsDeclarationLine(bool in_procedure, std::string_view line) {
  if (!in_procedure) return StartsWith(line, "Global");
  for (const std::string_view keyword : DeclarationKeywords) {
    if (StartsWith(line, keyword)) return true;
  }
  return false;
}

void ListTermMatches(const Project& project, ResultList& list, ListingHost& host,
                     std::string_view term) {
  host.SetStopEnabled(true);
  list.Kind = "Terms: ";
  list.Caption = "Terms: " + std::string(term) + "...";
  ProjectText text;
  if (text.Load(project.SourceFiles, host)) {
    SearchState state;
    for (const ProjectFile& file : text.Files()) {
      ListFileMatches(text, file, list, host, term, state);
      if (state.Stopped) break;
    }
  }
  host.SetStopEnabled(false);
}
