#include "listings/listing_rows.h"

#include <string>

#include "listings/row_colours.h"
#include "listings/term_search.h"

namespace {

/// Appends a row whose first two cells are `line_number` and `line`; returns its index.
int32_t AddNumberedRow(ResultList& list, int32_t line_number, std::string_view line) {
  std::string row_text = std::to_string(line_number);
  row_text += '\n';
  row_text += line;
  list.AddResultRow(row_text);
  return list.RowCount() - 1;
}

/// Background of a matching row of the term search, darker for a declaration line.
Rgb MatchRowBackground(bool band, bool declaration) {
  if (band) return declaration ? TermDeclarationBandSetBackground : TermBandSetBackground;
  return declaration ? TermDeclarationBandClearBackground : TermBandClearBackground;
}

}  // namespace

void AddProcedureRow(ResultList& list, const ProcedureEntry& entry) {
  list.ProcedureRow = AddNumberedRow(list, entry.LineNumber, entry.HeadText);
  list.SetCellText(list.ProcedureRow, ColumnFile, entry.FileName);
  list.SetRowBackground(list.ProcedureRow, ProcedureRowBackground);
}

int32_t AddCallRow(ResultList& list, int32_t line_number, std::string_view line, int found,
                   std::string_view label, std::string_view file_name) {
  const int32_t row = AddNumberedRow(list, line_number, line);
  list.SetCellText(row, ColumnFunction, label);
  list.SetCellText(row, ColumnFile, file_name);
  if (found < 0) list.SetCellTextColour(row, ColumnCalls, MarkRed);
  return row;
}

void FinishProcedure(Project& project, ResultList& list, const ProcedureEntry& entry,
                     const ProcedureTally& tally) {
  list.AddUnselectedEmptyRow();
  list.SetCellText(list.ProcedureRow, ColumnCount, std::to_string(tally.Calls));
  if (tally.Calls == 0) list.SetRowBackground(list.ProcedureRow, NeverCalledBackground);
  if (tally.CalledAboveHead) {
    list.SetCellBackground(list.ProcedureRow, ColumnLine, MarkRed);
    project.Candidates.push_back({entry.HeadText, entry.FileName});
  }
}

void AddMatchRow(ResultList& list, int32_t line_number, std::string_view line,
                 const TermMatch& match, bool inside, std::string_view label,
                 std::string_view file_name, bool band) {
  const int32_t row = AddNumberedRow(list, line_number, line);
  list.SetCellText(row, ColumnFunction, label);
  list.SetCellText(row, ColumnFile, file_name);
  if (!match.UseMarker.empty()) list.SetCellText(row, ColumnCount, match.UseMarker);
  list.SetRowBackground(row, MatchRowBackground(band, IsDeclarationLine(inside, line)));
  if (match.Result < 0) list.SetCellTextColour(row, ColumnCalls, MarkRed);
}
