// The result-list model: rows of five cells, the selected row, and the record of changes
// to rows that a view already shows, so the view can catch up in batches.
#include "listings/result_list.h"

namespace {

const std::string EmptyText;

bool ColumnExists(int column) { return column >= 0 && column < ResultColumns; }

}  // namespace

ResultList::ResultList(std::string_view kind, std::string_view subject)
    : Kind(kind), Subject(subject) {
  Caption = Kind + Subject + "...";
}

void ResultList::AddResultRow(std::string_view row_text) {
  ResultRow row;
  // Cells are separated by line feeds; parts beyond the fifth column have nowhere to go.
  size_t start = 0;
  for (int column = 0; column < ResultColumns; ++column) {
    const size_t end = row_text.find('\n', start);
    row.Cells[static_cast<size_t>(column)].Text = std::string(row_text.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  rows_.push_back(std::move(row));
  selected_row_ = RowCount() - 1;
}

void ResultList::AddUnselectedEmptyRow() { rows_.emplace_back(); }

const std::string& ResultList::CellText(int32_t row, int column) const {
  if (row < 0 || row >= RowCount() || !ColumnExists(column)) return EmptyText;
  return rows_[static_cast<size_t>(row)].Cells[static_cast<size_t>(column)].Text;
}

void ResultList::SetCellText(int32_t row, int column, std::string_view text) {
  if (ResultCell* cell = Cell(row, column)) cell->Text = std::string(text);
}

void ResultList::SetCellTextColour(int32_t row, int column, Rgb colour) {
  if (ResultCell* cell = Cell(row, column)) cell->TextColour = colour;
}

void ResultList::SetCellBackground(int32_t row, int column, Rgb colour) {
  if (ResultCell* cell = Cell(row, column)) cell->Background = colour;
}

void ResultList::SetRowBackground(int32_t row, Rgb colour) {
  for (int column = 0; column < ResultColumns; ++column) SetCellBackground(row, column, colour);
}

void ResultList::SelectRow(int32_t row) {
  selected_row_ = (row >= 0 && row < RowCount()) ? row : -1;
}

void ResultList::MarkMirrored() {
  mirrored_rows_ = RowCount();
  changed_rows_.clear();
}

ResultCell* ResultList::Cell(int32_t row, int column) {
  if (row < 0 || row >= RowCount() || !ColumnExists(column)) return nullptr;
  NoteChange(row);
  return &rows_[static_cast<size_t>(row)].Cells[static_cast<size_t>(column)];
}

void ResultList::NoteChange(int32_t row) {
  if (row < mirrored_rows_) changed_rows_.push_back(row);
}

std::string SelectorEntryText(const ResultList& list) {
  if (list.Kind == "Terms: ") return list.Subject;
  return list.Subject.substr(0, list.Subject.find('(')) + "(";
}
