// Compact storage for the cell texts of result-list rows: the five texts of a row lie one
// after the other in large blocks, each after its length, so a row costs its text bytes
// and a few bytes more instead of five strings, and freeing a list frees a few blocks.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

/// Number of cells of a stored row.
constexpr size_t RowTextCells = 5;

/// The five texts of one row.
using RowCellTexts = std::array<std::string_view, RowTextCells>;

/// Rows of five texts, appended and never moved: a text read back stays valid as long as
/// the storage lives.
class RowTexts {
 public:
  /// Stores the five texts (which may view texts of this storage); returns where they
  /// stand.
  uint64_t Add(const RowCellTexts& cells);
  /// The texts stored at `at` (a value that `Add` returned).
  RowCellTexts Cells(uint64_t at) const;

 private:
  char* Reserve(size_t bytes);

  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = 0;      ///< bytes used in the last block
  size_t capacity_ = 0;  ///< size of the last block
};
