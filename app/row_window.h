// The part of a long list that its view shows: a first row and the rows in sight below it.
// The tree view's model holds only these rows, so the toolkit's cost does not grow with the
// list; scrolling, the keys and the wheel move this window over the list.
#pragma once

#include <cstdint>

/// A key that moves the selected row over the whole list.
enum class RowKey { Up, Down, PageUp, PageDown, Home, End };

/// The first row and the rows in sight of a list of `Rows()` rows.
class RowWindow {
 public:
  /// The list's rows; the first row moves back so that the window stays full.
  void SetRows(int32_t rows);
  /// The sight of a view whose rows' area is `rows_pixels` high, with rows `row_pixels`
  /// high: the rows wholly in sight (at least one), whether a row's part shows below them,
  /// and the page step.
  void SetSight(int rows_pixels, int row_pixels);
  /// Rows of the list.
  int32_t Rows() const { return rows_; }
  /// The list's row at the top of the view.
  int32_t First() const { return first_; }
  /// Rows wholly in sight.
  int32_t Page() const { return page_; }
  /// Whole rows in nine tenths of the sight: about what Page Up and Page Down move by (by
  /// pixels, as the toolkit's own page keys), and what the scrollbar's trough pages by.
  int32_t PageStep() const { return page_step_; }
  /// Rows the view holds: those wholly in sight and the part row, as far as the list goes.
  int32_t Shown() const;
  /// The largest first row: the last row of the list at the bottom of the view.
  int32_t LastFirst() const;
  /// True when `row` is wholly in sight.
  bool InSight(int32_t row) const { return row >= first_ && row < first_ + page_; }
  /// Puts `first` at the top, kept between 0 and `LastFirst`.
  void ScrollTo(int64_t first);
  /// Scrolls as little as brings `row` wholly into sight.
  void ScrollToShow(int32_t row);
  /// The row selected after `key` with `selected` selected (-1 for none: the top row is
  /// taken), scrolled into sight; -1 for an empty list.
  int32_t Move(int32_t selected, RowKey key);

 private:
  int32_t PageRows(int direction);

  int32_t rows_ = 0;
  int32_t first_ = 0;
  int32_t page_ = 1;
  int32_t page_step_ = 1;
  int row_pixels_ = 1;
  int page_pixels_ = 0;
  int32_t page_offset_ = 0;  // pixels from the selected row's top that a page move reached
  bool part_row_ = false;
};

/// Rows that one notch of the mouse wheel scrolls a view of `page_pixels` (the height of
/// its rows' area) with rows `row_pixels` high: the toolkit's step of page^(2/3) pixels.
int32_t WheelRows(int page_pixels, int row_pixels);
