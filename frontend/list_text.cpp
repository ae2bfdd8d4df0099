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

void AppendRow(std::string& text, const ResultList& list, int32_t row) {
  AppendCells(text, [&](int column) { return std::string_view(list.CellText(row, column)); });
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
