#include "lsp/positions.h"

#include <cstring>

namespace {

/// Length of the UTF-8 sequence at `at` in `text`: 1 also for a byte that starts none.
size_t SequenceLength(std::string_view text, size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  const size_t length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3
                        : (byte >> 3) == 0x1E ? 4 : 1;
  if (length == 1 || at + length > text.size()) return 1;
  for (size_t next = at + 1; next < at + length; ++next) {
    if ((static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

/// Code units of a sequence of `length` bytes.
uint32_t UnitsOf(size_t length, PositionEncoding encoding) {
  if (encoding == PositionEncoding::Utf8) return static_cast<uint32_t>(length);
  return length == 4 ? 2 : 1;
}

/// Byte offset of the start of line `line`; npos past the last line.
size_t LineStart(std::string_view text, uint32_t line) {
  size_t at = 0;
  for (uint32_t skipped = 0; skipped < line; ++skipped) {
    const size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) return std::string_view::npos;
    at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return at;
}

}  // namespace

uint32_t ColumnOfByte(std::string_view line, size_t byte, PositionEncoding encoding) {
  uint32_t column = 0;
  for (size_t at = 0; at < line.size() && at < byte;) {
    const size_t length = SequenceLength(line, at);
    column += UnitsOf(length, encoding);
    at += length;
  }
  return column;
}

size_t ByteOfColumn(std::string_view line, uint32_t column, PositionEncoding encoding) {
  size_t at = 0;
  for (uint32_t counted = 0; at < line.size();) {
    const size_t length = SequenceLength(line, at);
    counted += UnitsOf(length, encoding);
    if (counted > column) break;
    at += length;
  }
  return at;
}

std::string_view LineOfText(std::string_view text, uint32_t line) {
  const size_t start = LineStart(text, line);
  if (start == std::string_view::npos) return {};
  const size_t end = text.find_first_of("\r\n", start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

size_t OffsetOf(std::string_view text, TextPosition position, PositionEncoding encoding) {
  const size_t start = LineStart(text, position.Line);
  if (start == std::string_view::npos) return text.size();
  return start + ByteOfColumn(LineOfText(text, position.Line), position.Column, encoding);
}

// A line ends at the first "\r" or "\n"; both are looked for with memchr, which is many
// times as fast as a test of each byte against both.
TextLines::TextLines(std::string_view text) : text_(text) {
  starts_.push_back(0);
  for (size_t at = LineEnd(0); at < text.size(); at = LineEnd(at)) {
    at += text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
    starts_.push_back(at);
  }
}

size_t TextLines::LineEnd(size_t start) const {
  const char* const begin = text_.data() + start;
  const size_t rest = text_.size() - start;
  const void* const feed = std::memchr(begin, '\n', rest);
  const size_t before_feed = feed ? static_cast<size_t>(static_cast<const char*>(feed) - begin) : rest;
  const void* const ret = std::memchr(begin, '\r', before_feed);
  const size_t length = ret ? static_cast<size_t>(static_cast<const char*>(ret) - begin) : before_feed;
  return start + length;
}

std::string_view TextLines::Line(uint32_t line) const {
  if (line >= starts_.size()) return {};
  const size_t start = starts_[line];
  return text_.substr(start, LineEnd(start) - start);
}
