// The result-list model: rows of five cells with their marks, the selected row, and the
// record of changes to rows that a view already shows, so the view can catch up in batches.
#include "listings/result_list.h"

namespace {

const std::string EmptyText;

bool ColumnExists(int column) { return column >= 0 && column < ResultColumns; }

std::string CaptionText(ListKind kind, std::string_view subject) {
  std::string caption(KindText(kind));
  caption += subject;
  caption += "...";
  return caption;
}

}  // namespace

const char* const ColumnHeaders[ResultColumns] = {"Line", "Calls", "Count", "(in) Function",
                                                  "in File"};

std::string_view KindText(ListKind kind) {
  switch (kind) {
    case ListKind::ProcedureCalls: return "Proc: ";
    case ListKind::Terms: return "Terms: ";
    case ListKind::Procedures:
    case ListKind::AllProcedureCalls: break;
  }
  return "";
}

ResultList::ResultList(ListKind kind, std::string_view subject)
    : kind_(kind), subject_(subject), caption_(CaptionText(kind, subject)) {}

void ResultList::TakeOver(ListKind kind, std::string_view caption_subject) {
  kind_ = kind;
  caption_ = CaptionText(kind, caption_subject);
}

int32_t ResultList::AddResultRow(std::string_view row_text, RowMarks marks) {
  ResultRow& row = rows_.emplace_back();
  row.Marks = marks;
  row.WrittenFor = kind_;
  // Cells are separated by line feeds; parts beyond the fifth column have nowhere to go.
  size_t start = 0;
  for (std::string& cell : row.Cells) {
    const size_t end = row_text.find('\n', start);
    cell = std::string(row_text.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  selected_row_ = RowCount() - 1;
  return selected_row_;
}

void ResultList::AddUnselectedEmptyRow(RowMarks marks) {
  ResultRow& row = rows_.emplace_back();
  row.Marks = marks;
  row.WrittenFor = kind_;
}

const std::string& ResultList::CellText(int32_t row, int column) const {
  if (row < 0 || row >= RowCount() || !ColumnExists(column)) return EmptyText;
  return rows_[static_cast<size_t>(row)].Cells[static_cast<size_t>(column)];
}

void ResultList::SetCellText(int32_t row, int column, std::string_view text) {
  if (!ColumnExists(column)) return;
  if (ResultRow* changed = ChangeRow(row)) {
    changed->Cells[static_cast<size_t>(column)] = std::string(text);
  }
}

void ResultList::AddMarks(int32_t row, RowMarks marks) {
  if (ResultRow* changed = ChangeRow(row)) changed->Marks |= marks;
}

void ResultList::SelectRow(int32_t row) {
  selected_row_ = (row >= 0 && row < RowCount()) ? row : -1;
}

void ResultList::MarkMirrored() {
  mirrored_rows_ = RowCount();
  changed_rows_.clear();
}

// The row that is about to change, recorded for the view when the view already shows it.
ResultRow* ResultList::ChangeRow(int32_t row) {
  if (row < 0 || row >= RowCount()) return nullptr;
  if (row < mirrored_rows_) changed_rows_.push_back(row);
  return &rows_[static_cast<size_t>(row)];
}

std::string SelectorEntryText(const ResultList& list) {
  if (list.Kind() == ListKind::Terms) return list.Subject();
  return list.Subject().substr(0, list.Subject().find('(')) + "(";
}
