// Small text helpers that the line tests, the listings and the front ends share: leading
// runs cut off, name characters and folded names, numbers padded for the line columns,
// leading digits read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// `text` without its leading run of `c`; empty when it holds nothing else. Inline: it is
/// asked of every line, and the run is most often empty.
inline std::string_view WithoutLeading(std::string_view text, char c) {
  size_t start = 0;
  while (start < text.size() && text[start] == c) ++start;
  return text.substr(start);
}

/// True for A-Z, a-z, 0-9 and "_", the characters of a PureBasic name. Inline: the
/// candidate sweep asks it for every character before a "(".
constexpr bool IsIdentifierChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

/// `name` with A-Z folded to a-z: names are compared so where letter case is ignored.
std::string FoldedName(std::string_view name);

/// `number` right-aligned with blanks in 6 places; longer numbers as they are.
std::string PaddedNumber(int32_t number);

/// Value of the leading decimal digits of `text` (0 when it starts with none), stopping
/// at `limit` so that any number of digits saturates instead of overflowing.
int64_t LeadingDigitsValue(std::string_view text, int64_t limit);
