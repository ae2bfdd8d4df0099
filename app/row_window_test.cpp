// The window over a list's rows without a toolkit: it stays within the list as the list
// and the sight change, scrolls as little as shows a row, and the keys move the selection
// over the whole list as a tree view's own keys move it over its rows.
#include "app/row_window.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRowPixels = 18;

/// A window over `rows` rows with `page` rows wholly in sight and a half row below them.
RowWindow WindowOver(int32_t rows, int32_t page) {
  RowWindow window;
  window.SetSight(page * kRowPixels + kRowPixels / 2, kRowPixels);
  window.SetRows(rows);
  return window;
}

TEST(RowWindow, StaysWithinTheListAsTheListAndTheSightChange) {
  RowWindow window = WindowOver(100000, 30);
  EXPECT_EQ(window.Shown(), 31);  // the part row below the whole ones
  window.ScrollTo(200000);
  EXPECT_EQ(window.First(), 99970);
  EXPECT_EQ(window.First(), window.LastFirst());
  EXPECT_EQ(window.Shown(), 30);  // below the last row nothing
  window.ScrollTo(-5);
  EXPECT_EQ(window.First(), 0);
  window.ScrollTo(99000);
  window.SetRows(99010);  // a shorter list pulls the window back to stay full
  EXPECT_EQ(window.First(), 98980);
  window.SetSight(50 * kRowPixels, kRowPixels);  // no part row
  EXPECT_EQ(window.First(), 98960);
  EXPECT_EQ(window.Shown(), 50);
  EXPECT_EQ(window.PageStep(), 45);  // nine tenths of the sight
  window.SetSight(-4, kRowPixels);  // no room at all: still a row
  EXPECT_EQ(window.Page(), 1);
  EXPECT_EQ(window.PageStep(), 1);
  window.SetRows(10);
  EXPECT_EQ(window.First(), 9);
  window.SetSight(30 * kRowPixels + 1, kRowPixels);
  EXPECT_EQ(window.First(), 0);
  EXPECT_EQ(window.Shown(), 10);
  window.SetRows(0);
  EXPECT_EQ(window.Shown(), 0);
  EXPECT_EQ(window.LastFirst(), 0);
}

TEST(RowWindow, ScrollsAsLittleAsShowsARowWhollyAndNotAtAllForARowInSight) {
  RowWindow window = WindowOver(1000, 20);
  window.ScrollToShow(25);
  EXPECT_EQ(window.First(), 6);  // at the bottom, the part row below it
  EXPECT_TRUE(window.InSight(25));
  EXPECT_FALSE(window.InSight(26));
  window.ScrollToShow(10);
  EXPECT_EQ(window.First(), 6);
  window.ScrollToShow(3);
  EXPECT_EQ(window.First(), 3);  // at the top
  window.ScrollToShow(999);
  EXPECT_EQ(window.First(), 980);
}

// Up and Down move by a row, Page Up and Page Down by nine tenths of the sight with the
// view, so the selected row keeps its place on screen; Home and End go to the list's
// ends. Without a selected row a key takes the top row.
TEST(RowWindow, KeysMoveTheSelectionOverTheWholeListAndKeepItInSight) {
  RowWindow window = WindowOver(100000, 30);
  ASSERT_EQ(window.PageStep(), 27);  // 9/10 of 549 pixels in rows of 18
  EXPECT_EQ(window.Move(-1, RowKey::Down), 0);
  EXPECT_EQ(window.Move(0, RowKey::Up), 0);
  EXPECT_EQ(window.Move(29, RowKey::Down), 30);
  EXPECT_EQ(window.First(), 1);
  EXPECT_EQ(window.Move(30, RowKey::PageDown), 57);
  EXPECT_EQ(window.First(), 28);
  EXPECT_EQ(window.Move(57, RowKey::PageUp), 30);
  EXPECT_EQ(window.First(), 1);
  // 494 pixels a page: the 8 left over of each page add up to a row every third page.
  int32_t row = 30;
  for (int page = 0; page < 9; ++page) row = window.Move(row, RowKey::PageDown);
  EXPECT_EQ(row, 30 + (9 * 494) / kRowPixels);
  for (int page = 0; page < 9; ++page) row = window.Move(row, RowKey::PageUp);
  EXPECT_EQ(row, 30);
  EXPECT_EQ(window.Move(30, RowKey::End), 99999);
  EXPECT_EQ(window.First(), 99970);
  EXPECT_EQ(window.Move(99999, RowKey::PageDown), 99999);
  EXPECT_EQ(window.Move(99999, RowKey::Down), 99999);
  EXPECT_EQ(window.Move(99990, RowKey::PageDown), 99999);  // the last page stops at the end
  EXPECT_EQ(window.First(), 99970);
  EXPECT_EQ(window.Move(10, RowKey::PageUp), 0);  // a selection out of sight is brought in
  EXPECT_EQ(window.First(), 0);
  window.ScrollTo(5000);
  EXPECT_EQ(window.Move(-1, RowKey::End), 5000);  // no selection: the top row first
  EXPECT_EQ(window.Move(5000, RowKey::Home), 0);
  EXPECT_EQ(window.First(), 0);
  RowWindow empty = WindowOver(0, 30);
  EXPECT_EQ(empty.Move(-1, RowKey::Down), -1);
  EXPECT_EQ(empty.Move(3, RowKey::End), -1);
}

// One notch scrolls page^(2/3) pixels, in whole rows and at least one.
TEST(RowWindow, AWheelNotchScrollsAsManyRowsAsTheToolkitsPixels) {
  EXPECT_EQ(WheelRows(540, 18), 4);  // 66 pixels
  EXPECT_EQ(WheelRows(8000, 18), 22);
  EXPECT_EQ(WheelRows(10, 18), 1);
  EXPECT_EQ(WheelRows(540, 0), 1);
}

}  // namespace
