#include "frontend/list_text.h"

#include "frontend/display_text.h"

namespace {

/// Appends the cells that `cell(column)` gives, tab-separated, each converted for display.
template <typename Cell>
void AppendCells(std::string& text, const Cell& cell) {
  for (int column = 0; column < ResultColumns; ++column) {
    if (column > 0) text += '\t';
    AppendDisplayText(text, cell(column));
  }
}

/// `cell` without the blanks and tabs that pad it in the view.
std::string_view Trimmed(std::string_view cell) {
  const size_t first = cell.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
}

/// Appends the row's trimmed cells; nothing for a row without text (a separator). The row
/// is looked up once for its five cells.
void AppendRow(std::string& text, const ResultList& list, int32_t row) {
  const ResultRow held = list.Row(row);
  bool empty = true;
  for (const std::string_view cell : held.Cells) empty = empty && Trimmed(cell).empty();
  if (empty) return;
  AppendCells(text, [&](int column) { return Trimmed(held.Cells[static_cast<size_t>(column)]); });
}

}  // namespace

std::string RowClipboardText(const ResultList& list, int32_t row) {
  std::string text;
  if (row >= 0 && row < list.RowCount()) AppendRow(text, list, row);
  return text;
}

std::string ListClipboardText(const ResultList& list) {
  std::string text;
  AppendDisplayText(text, list.Caption());
  text += '\n';
  AppendCells(text, [](int column) { return std::string_view(ColumnHeaders[column]); });
  text += '\n';
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    AppendRow(text, list, row);
    text += '\n';
  }
  return text;
}
