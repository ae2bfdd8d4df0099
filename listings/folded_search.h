// Byte-wise search with the letters A-Z and a-z folded, shared by the two line matchers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "source/source_lines.h"

/// The byte `c` with A-Z turned into a-z; every other byte unchanged.
constexpr char FoldAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// True when the `length` bytes at `text` and at `other` are the same with A-Z folded to
/// a-z; sixteen bytes are compared at once.
bool SameFoldedBytes(const char* text, const char* other, size_t length);

/// Finds the occurrences of one needle in one haystack, letter case of A-Z/a-z ignored.
/// Candidates are the places where the needle's first two bytes stand, sixteen places
/// tested at once, so a common first letter costs no call per place.
class FoldedFinder {
 public:
  FoldedFinder(std::string_view haystack, std::string_view needle);
  /// A finder of the occurrences in the needle's own letter case only, as
  /// `std::string_view::find` finds them (but npos for an empty needle).
  static FoldedFinder Exact(std::string_view haystack, std::string_view needle);

  /// 0-based index of the first occurrence at or after `from`; npos when there is none
  /// or the needle is empty.
  size_t Next(size_t from) const;

 private:
  /// The first place at or after `from` where the needle's first two bytes (its only
  /// byte, for a needle of one) stand, letters folded; npos when there is none.
  size_t NextCandidate(size_t from) const;
  bool MatchesAt(size_t pos) const;

  std::string_view haystack_;
  std::string_view needle_;
  char first_lower_ = 0;
  char first_upper_ = 0;
  char second_lower_ = 0;
  char second_upper_ = 0;
  bool exact_ = false;
};

/// The gate of the lines of `bytes` (walked in order, see `OccurrenceGate`) that hold
/// `needle`, letter case ignored.
inline auto FoldedGate(std::string_view bytes, std::string_view needle) {
  auto find = [finder = FoldedFinder(bytes, needle)](size_t from) { return finder.Next(from); };
  return OccurrenceGate<decltype(find)>(bytes, needle.size(), find);
}

/// 0-based index of the first occurrence of `needle` in `haystack` at or after `from`,
/// letter case ignored; npos when there is none or the needle is empty.
size_t FindFolded(std::string_view haystack, std::string_view needle, size_t from = 0);
