// Term search. It takes over the list that the procedure lookup opened and left behind,
// so it changes that list's kind and caption but opens nothing of its own.
#include "listings/term_search.h"

#include <algorithm>
#include <string>

#include "listings/row_colours.h"
#include "listings/term_matching.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/source_reader.h"

const std::string_view DeclarationKeywords[6] = {"Protected",  "Static",     "Shared",
                                                 "Procedure ", "Procedure.", "Global"};

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

/// `text` without a leading run of `c`.
std::string_view TrimLeading(std::string_view text, char c) {
  text.remove_prefix(std::min(text.find_first_not_of(c), text.size()));
  return text;
}

/// The row text of a line: leading tabs, then blanks, then tabs removed, in that order.
std::string_view TrimRowText(std::string_view line) {
  return TrimLeading(TrimLeading(TrimLeading(line, '\t'), ' '), '\t');
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
  EnclosingProcedure enclosing(LabelStyle::Padded);
  bool band = false;
  SourceReader reader;
  for (const SourceFile& file : project.SourceFiles) {
    band = !band;
    enclosing.StartFile();
    int32_t rows = 0;
    if (reader.Open(file.Path)) {
      const std::string_view file_name = FileNamePart(file.Path);
      for (int32_t line_number = 1; !reader.AtEnd(); ++line_number) {
        // The raw line, since the row keeps a blank that follows a leading tab.
        const std::string raw = reader.ReadRawLine();
        const std::string_view line = TrimRowText(raw);
        if (!IsCommentLine(line)) {
          enclosing.Track(line, line_number);
          const TermMatch match = MatchTerm(line, term);
          if (match.Result != 0) {
            if (rows == 0) list.AddResultRow("");  // separator before the file's first row
            AddMatchRow(list, line_number, line, match, enclosing, file_name, band);
            ++rows;
          }
        }
        if (host.PollStop()) {
          reader.Close();
          host.SetStopEnabled(false);
          return;
        }
      }
      reader.Close();
    }
    if (rows == 0) band = !band;  // only files with rows advance the alternation
  }
  host.SetStopEnabled(false);
}
