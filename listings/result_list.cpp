// The result-list model: rows of five cells with their marks, the selected row, and the
// record of changes to rows that a view already shows, so the view can draw them again.
#include "listings/result_list.h"

#include <algorithm>
#include <functional>

namespace {

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

ResultList::ResultList(ListKind kind, std::string_view subject)
    : kind_(kind), subject_(subject), caption_(CaptionText(kind, subject)) {}

void ResultList::TakeOver(ListKind kind, std::string_view caption_subject) {
  kind_ = kind;
  caption_ = CaptionText(kind, caption_subject);
}

int32_t ResultList::AddResultRow(std::string_view row_text, RowMarks marks, uint32_t file) {
  RowCellTexts cells;
  // Cells are separated by line feeds; parts beyond the fifth column have nowhere to go.
  size_t start = 0;
  for (std::string_view& cell : cells) {
    const size_t end = row_text.find('\n', start);
    cell = row_text.substr(start, end - start);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return AddResultRow(cells, marks, file);
}

int32_t ResultList::AddResultRow(const RowCellTexts& cells, RowMarks marks, uint32_t file,
                                 RowCellSet viewed) {
  for (size_t cell = 0; cell < RowTextCells; ++cell) {
    if ((viewed & RowCell(cell)) != 0 && !Holds(cells[cell], last_held_[cell])) {
      viewed &= static_cast<RowCellSet>(~RowCell(cell));
    }
  }
  selected_row_ = AddRow(cells, marks, file, viewed);
  return selected_row_;
}

void ResultList::HoldBytes(const std::vector<std::shared_ptr<const std::string>>& bytes) {
  for (const std::shared_ptr<const std::string>& held : bytes) {
    size_t last = 0;
    if (!held || held->empty() || Holds(*held, last)) continue;
    held_.push_back(held);
    const HeldRange range{held->data(), held->data() + held->size()};
    const auto before = [](const HeldRange& a, const HeldRange& b) {
      return std::less<const char*>()(a.Begin, b.Begin);
    };
    held_ranges_.insert(
        std::upper_bound(held_ranges_.begin(), held_ranges_.end(), range, before), range);
  }
}

// The held bytes that start last at or before the text must hold all of it; those that
// held the last text are tried first, as rows come file by file. Addresses of unrelated
// objects are compared with std::less, which orders every pointer. The search halves
// the ranges without a branch: rows of calls jump between files, and a search per row
// whose steps the processor cannot foresee cost more than the rest of the row.
bool ResultList::Holds(std::string_view text, size_t& last) const {
  const std::less<const char*> less;
  const char* const begin = text.data();
  const auto within = [&](const HeldRange& range) {
    return !less(begin, range.Begin) && less(begin, range.End) &&
           text.size() <= static_cast<size_t>(range.End - begin);
  };
  if (last < held_ranges_.size() && within(held_ranges_[last])) return true;
  if (held_ranges_.empty()) return false;
  size_t first = 0;  // the last range that starts at or before the text, if any
  for (size_t count = held_ranges_.size(); count > 1;) {
    const size_t half = count / 2;
    first = less(begin, held_ranges_[first + half].Begin) ? first : first + half;
    count -= half;
  }
  if (!within(held_ranges_[first])) return false;
  last = first;
  return true;
}

void ResultList::AddUnselectedEmptyRow(RowMarks marks) { AddRow(RowCellTexts{}, marks, NoRowFile); }

int32_t ResultList::AddRow(const RowCellTexts& cells, RowMarks marks, uint32_t file,
                           RowCellSet viewed) {
  rows_.push_back({texts_.Add(cells, viewed), marks, kind_, file});
  return RowCount() - 1;
}

ResultRow ResultList::Row(int32_t row) const {
  const StoredRow& stored = rows_[static_cast<size_t>(row)];
  return {texts_.Cells(stored.Texts), stored.Marks, stored.WrittenFor, stored.File};
}

std::string_view ResultList::CellText(int32_t row, int column) const {
  if (row < 0 || row >= RowCount() || !ColumnExists(column)) return std::string_view();
  return Row(row).Cells[static_cast<size_t>(column)];
}

// The row's texts are stored anew with the one changed, the others viewed as before; the
// old ones stay unused.
void ResultList::SetCellText(int32_t row, int column, std::string_view text) {
  if (!ColumnExists(column)) return;
  if (StoredRow* changed = ChangeRow(row)) {
    RowCellTexts cells = texts_.Cells(changed->Texts);
    cells[static_cast<size_t>(column)] = text;
    const auto unchanged = static_cast<RowCellSet>(~RowCell(static_cast<size_t>(column)));
    changed->Texts = texts_.Add(cells, texts_.Viewed(changed->Texts) & unchanged);
  }
}

void ResultList::AddMarks(int32_t row, RowMarks marks) {
  if (StoredRow* changed = ChangeRow(row)) changed->Marks |= marks;
}

void ResultList::SelectRow(int32_t row) {
  selected_row_ = (row >= 0 && row < RowCount()) ? row : -1;
}

void ResultList::MarkMirrored() {
  mirrored_rows_ = RowCount();
  changed_rows_.clear();
}

// The row that is about to change, recorded for the view when the view already shows it.
ResultList::StoredRow* ResultList::ChangeRow(int32_t row) {
  if (row < 0 || row >= RowCount()) return nullptr;
  if (row < mirrored_rows_) changed_rows_.push_back(row);
  return &rows_[static_cast<size_t>(row)];
}

std::string SelectorEntryText(const ResultList& list) {
  const ListKindEntry& kind = KindEntry(list.Kind());
  if (kind.Selector == SelectorStyle::Whole) return list.Subject();
  const std::string name = list.Subject().substr(0, list.Subject().find('(')) + "(";
  return kind.Selector == SelectorStyle::PrefixedName ? std::string(kind.CaptionPrefix) + name : name;
}
