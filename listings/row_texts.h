// Compact storage for the cell texts of result-list rows: the five texts of a row lie one
// after the other in large blocks, each after its length, so a row costs its text bytes
// and a few bytes more instead of five strings, and freeing a list frees a few blocks.
// A cell may instead be kept as a view of bytes that its owner holds (a source line).
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

/// The lengths of the five texts of one row.
using RowCellLengths = std::array<size_t, RowTextCells>;

/// A set of cells of a row, bit `c` for cell `c`.
using RowCellSet = uint8_t;

/// The set of the one cell `cell`.
constexpr RowCellSet RowCell(size_t cell) { return static_cast<RowCellSet>(1u << cell); }

/// Rows of five texts, appended and never moved: a text read back stays valid as long as
/// the storage lives.
class RowTexts {
 public:
  /// Stores the five texts (which may view texts of this storage); returns where they
  /// stand. The cells of `viewed` are kept as views, not copied: their bytes must outlive
  /// the storage.
  uint64_t Add(const RowCellTexts& cells, RowCellSet viewed = 0);
  /// The texts stored at `at` (a value that `Add` returned).
  RowCellTexts Cells(uint64_t at) const;
  /// The lengths of those texts, read without finding the texts.
  RowCellLengths Lengths(uint64_t at) const;
  /// Asks for the bytes of the viewed cells of the row at `at` ahead of their use: rows
  /// read in order view lines all over the files.
  void Prefetch(uint64_t at) const;
  /// The cells of the row at `at` that are kept as views (empty ones never are).
  RowCellSet Viewed(uint64_t at) const;

 private:
  /// What a stored row starts with, before the texts it copied.
  /// Left unset where it is declared (a cost of every row read): `ReadHead` sets the
  /// lengths and the viewed cells' texts.
  struct RowHead {
    RowCellSet Viewed;
    std::array<const char*, RowTextCells> Data;  ///< the viewed cells' texts
    RowCellLengths Lengths;
  };
  static RowHead ReadHead(const char*& in);

  char* Reserve(size_t bytes);
  /// The first byte of the row stored at `at`.
  const char* RowStart(uint64_t at) const {
    return blocks_[static_cast<size_t>(at >> 32)].get() + (at & 0xFFFFFFFFu);
  }

  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = 0;      ///< bytes used in the last block
  size_t capacity_ = 0;  ///< size of the last block
};
