#include "listings/listing_rows.h"

#include <string>

#include "source/line_classification.h"

namespace {

/// Appends a row of the five cells (the first one `line_number`) and selects it; returns
/// its index. The row is written whole, so its texts are stored once; the cells of
/// `viewed` are viewed where the list holds their bytes.
int32_t AddNumberedRow(ResultList& list, int32_t line_number, std::string_view line,
                       std::string_view count, std::string_view label, RowFile file,
                       RowMarks marks, RowCellSet viewed = 0) {
  const std::string number = std::to_string(line_number);
  return list.AddResultRow(RowCellTexts{number, line, count, label, file.Name}, marks, file.Index,
                           viewed);
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

uint32_t RowFileIndex(const ProcedureEntry& entry) {
  return entry.File < 0 ? NoRowFile : static_cast<uint32_t>(entry.File);
}

int32_t AddProcedureRow(ResultList& list, const ProcedureEntry& entry) {
  return AddNumberedRow(list, entry.LineNumber, entry.HeadText, "", "",
                        {entry.FileName, RowFileIndex(entry)}, RowMark::ProcedureRow);
}

RowMarks AmbiguityMark(bool ambiguous) {
  return ambiguous ? RowMarks(RowMark::Ambiguous) : RowMarks();
}

int32_t AddCallRow(ResultList& list, int32_t line_number, std::string_view line, int found,
                   std::string_view label, RowFile file, RowMarks marks) {
  return AddNumberedRow(list, line_number, line, "", label, file, marks | CaseMark(found),
                        RowCell(ColumnCalls) | RowCell(ColumnFunction));
}

void TallyCall(ProcedureTally& tally, bool declare_line, int32_t line_number, int32_t head_line) {
  if (declare_line) {
    tally.Declared = true;
    return;
  }
  ++tally.Calls;
  // Line numbers are compared as they are, whichever files they belong to.
  if (line_number < head_line) tally.CalledAboveHead = true;
}

bool NeedsDeclare(const ProcedureTally& tally) { return tally.CalledAboveHead && !tally.Declared; }

void FinishProcedure(ResultList& list, int32_t procedure_row, const ProcedureTally& tally) {
  list.AddUnselectedEmptyRow(RowMark::ClosingRow);
  list.SetCellText(procedure_row, ColumnCount, std::to_string(tally.Calls));
  if (tally.Calls == 0) list.AddMarks(procedure_row, RowMark::NeverCalled);
  if (tally.CalledAboveHead) list.AddMarks(procedure_row, RowMark::CalledAboveHead);
}

void AddMatchRow(ResultList& list, int32_t line_number, std::string_view line,
                 const TermMatch& match, bool inside, std::string_view label,
                 RowFile file, RowMarks band) {
  RowMarks marks = band | CaseMark(match.Result);
  if (IsDeclarationLine(inside, line)) marks |= RowMark::Declaration;
  AddNumberedRow(list, line_number, line, match.UseMarker, label, file, marks,
                 RowCell(ColumnCalls));
}

int32_t AddProcedureFinding(ResultList& list, const ProcedureEntry& entry, std::string_view reason,
                            RowMarks marks) {
  return AddNumberedRow(list, entry.LineNumber, entry.HeadText, reason, "",
                        {entry.FileName, RowFileIndex(entry)}, marks | RowMark::Finding);
}

int32_t AddLineFinding(ResultList& list, int32_t line_number, std::string_view line,
                       std::string_view reason, RowFile file) {
  return AddNumberedRow(list, line_number, line, reason, "", file, RowMark::Finding);
}

void AddSummaryRow(ResultList& list, std::string_view summary) {
  list.AddResultRow("");
  list.AddResultRow("\n" + std::string(summary));
}
