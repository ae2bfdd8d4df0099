#include "app/row_window.h"

#include <algorithm>
#include <cmath>

void RowWindow::SetRows(int32_t rows) {
  rows_ = std::max<int32_t>(rows, 0);
  ScrollTo(first_);
}

void RowWindow::SetSight(int rows_pixels, int row_pixels) {
  const int pixels = std::max(rows_pixels, 0);
  const int row = std::max(row_pixels, 1);
  page_ = std::max(pixels / row, 1);
  part_row_ = pixels % row != 0;
  row_pixels_ = row;
  page_pixels_ = pixels * 9 / 10;
  page_step_ = std::max(page_pixels_ / row, 1);
  ScrollTo(first_);
}

int32_t RowWindow::Shown() const {
  return std::min(page_ + (part_row_ ? 1 : 0), rows_ - first_);
}

int32_t RowWindow::LastFirst() const { return std::max<int32_t>(rows_ - page_, 0); }

void RowWindow::ScrollTo(int64_t first) {
  first_ = static_cast<int32_t>(std::clamp<int64_t>(first, 0, LastFirst()));
}

void RowWindow::ScrollToShow(int32_t row) {
  if (row < first_) {
    ScrollTo(row);
  } else if (row >= first_ + page_) {
    ScrollTo(int64_t{row} - page_ + 1);
  }
}

int32_t RowWindow::Move(int32_t selected, RowKey key) {
  if (rows_ == 0) return -1;
  const int32_t last = rows_ - 1;
  int64_t row = selected < 0 ? first_ : selected;
  if (selected >= 0) {
    switch (key) {
      case RowKey::Up: row -= 1; break;
      case RowKey::Down: row += 1; break;
      case RowKey::PageUp: row += PageRows(-1); break;
      case RowKey::PageDown: row += PageRows(1); break;
      case RowKey::Home: row = 0; break;
      case RowKey::End: row = last; break;
    }
  }
  const auto moved = static_cast<int32_t>(std::clamp<int64_t>(row, 0, last));
  if (moved != row) page_offset_ = 0;
  ScrollToShow(moved);
  return moved;
}

// Page Up and Page Down move the selection and the view by nine tenths of the sight alike,
// so the selected row keeps its place on screen, as the tree view's own keys do: by
// pixels, whose rest within a row is carried over to the next page.
int32_t RowWindow::PageRows(int direction) {
  const int64_t pixels = int64_t{page_offset_} + int64_t{direction} * page_pixels_;
  int64_t rows = pixels / row_pixels_;
  if (pixels % row_pixels_ < 0) --rows;  // downwards rounding above the selected row
  page_offset_ = static_cast<int32_t>(pixels - rows * row_pixels_);
  ScrollTo(first_ + rows);
  return static_cast<int32_t>(rows);
}

int32_t WheelRows(int page_pixels, int row_pixels) {
  if (row_pixels <= 0) return 1;
  const double pixels = std::pow(std::max(page_pixels, 1), 2.0 / 3.0);
  return std::max<int32_t>(1, static_cast<int32_t>(std::lround(pixels / row_pixels)));
}
