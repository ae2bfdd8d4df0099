// Positions as the editor counts them: lines split at LF, CR LF or CR, columns in UTF-16
// code units (or bytes when the client chose UTF-8). A byte that starts no valid UTF-8
// sequence counts as one character, so a Latin-1 file has a column per byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

/// How columns are counted.
enum class PositionEncoding : uint8_t { Utf16, Utf8 };

/// A zero-based line and column, as the protocol's Position.
struct TextPosition {
  uint32_t Line = 0;
  uint32_t Column = 0;
};

/// Column of byte `byte` of `line` (clamped to its length).
uint32_t ColumnOfByte(std::string_view line, size_t byte, PositionEncoding encoding);

/// Byte of column `column` in `line`: the line's length past its end, the start of the
/// character that a column inside it falls on.
size_t ByteOfColumn(std::string_view line, uint32_t column, PositionEncoding encoding);

/// Line `line` (zero-based) of `text` without its line end; empty past the last line.
std::string_view LineOfText(std::string_view text, uint32_t line);

/// Byte offset in `text` of `position`; a line past the end gives the text's end, a
/// column past its line's end the line's end.
size_t OffsetOf(std::string_view text, TextPosition position, PositionEncoding encoding);

/// The lines of one text, found once: many look-ups in one file cost no rescans.
class TextLines {
 public:
  /// Indexes `text`, which must outlive the index.
  explicit TextLines(std::string_view text);
  /// Line `line` (zero-based) without its line end; empty past the last line.
  std::string_view Line(uint32_t line) const;
  /// Number of lines (a text ending in a line end has an empty last line).
  uint32_t Count() const { return static_cast<uint32_t>(starts_.size()); }

 private:
  /// Offset of the first line end at or after `start`; the text's size when none.
  size_t LineEnd(size_t start) const;

  std::string_view text_;
  std::vector<size_t> starts_;
};
