// Byte-wise search with the letters A-Z and a-z folded, shared by the two line matchers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// The byte `c` with A-Z turned into a-z; every other byte unchanged.
constexpr char FoldAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// Finds the occurrences of one needle in one haystack, letter case of A-Z/a-z ignored.
/// Successive calls to `Next` must not search from before the previous answer; each case
/// of the needle's first byte is then scanned with memchr at most once over the haystack.
class FoldedFinder {
 public:
  FoldedFinder(std::string_view haystack, std::string_view needle);

  /// 0-based index of the first occurrence at or after `from`; npos when there is none
  /// or the needle is empty.
  size_t Next(size_t from);

 private:
  /// Next position of one byte, remembered between calls.
  struct ByteCursor {
    char byte = 0;
    bool scanned = false;
    size_t next = 0;  ///< first position of `byte` at or after the last scan start
  };

  size_t NextCandidate(size_t from);
  size_t Advance(ByteCursor& cursor, size_t from) const;
  bool MatchesAt(size_t pos) const;

  std::string_view haystack_;
  std::string_view needle_;
  ByteCursor lower_;
  ByteCursor upper_;
};

/// 0-based index of the first occurrence of `needle` in `haystack` at or after `from`,
/// letter case ignored; npos when there is none or the needle is empty.
size_t FindFolded(std::string_view haystack, std::string_view needle, size_t from = 0);
