#include "listings/listing_rows.h"

#include <string>

#include "listings/term_search.h"

namespace {

/// Appends a row whose first two cells are `line_number` and `line`; returns its index.
int32_t AddNumberedRow(ResultList& list, int32_t line_number, std::string_view line,
                       RowMarks marks) {
  std::string row_text = std::to_string(line_number);
  row_text += '\n';
  row_text += line;
  return list.AddResultRow(row_text, marks);
}

RowMarks CaseMark(int found) { return found < 0 ? RowMarks(RowMark::OtherCase) : RowMarks(); }

}  // namespace

RowMarks FileBands::RowOf(ResultList& list, size_t file) {
  if (file != file_) {
    if (separators_) list.AddResultRow("", RowMark::Separator);
    band_ = !band_;
    file_ = file;
  }
  return band_ ? RowMarks(RowMark::FileBand) : RowMarks();
}

int32_t AddProcedureRow(ResultList& list, const ProcedureEntry& entry) {
  const int32_t row = AddNumberedRow(list, entry.LineNumber, entry.HeadText, RowMark::ProcedureRow);
  list.SetCellText(row, ColumnFile, entry.FileName);
  return row;
}

int32_t AddCallRow(ResultList& list, int32_t line_number, std::string_view line, int found,
                   std::string_view label, std::string_view file_name, RowMarks marks) {
  const int32_t row = AddNumberedRow(list, line_number, line, marks | CaseMark(found));
  list.SetCellText(row, ColumnFunction, label);
  list.SetCellText(row, ColumnFile, file_name);
  return row;
}

void FinishProcedure(ResultList& list, int32_t procedure_row, const ProcedureTally& tally) {
  list.AddUnselectedEmptyRow(RowMark::ClosingRow);
  list.SetCellText(procedure_row, ColumnCount, std::to_string(tally.Calls));
  if (tally.Calls == 0) list.AddMarks(procedure_row, RowMark::NeverCalled);
  if (tally.CalledAboveHead) list.AddMarks(procedure_row, RowMark::CalledAboveHead);
}

void AddMatchRow(ResultList& list, int32_t line_number, std::string_view line,
                 const TermMatch& match, bool inside, std::string_view label,
                 std::string_view file_name, RowMarks band) {
  RowMarks marks = band | CaseMark(match.Result);
  if (IsDeclarationLine(inside, line)) marks |= RowMark::Declaration;
  const int32_t row = AddNumberedRow(list, line_number, line, marks);
  list.SetCellText(row, ColumnFunction, label);
  list.SetCellText(row, ColumnFile, file_name);
  if (!match.UseMarker.empty()) list.SetCellText(row, ColumnCount, match.UseMarker);
}
