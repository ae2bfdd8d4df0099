#include "listings/folded_search.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char UpperAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

FoldedFinder::FoldedFinder(std::string_view haystack, std::string_view needle)
    : haystack_(haystack), needle_(needle) {
  if (!needle.empty()) {
    lower_.byte = FoldAsciiLetter(needle.front());
    upper_.byte = UpperAsciiLetter(needle.front());
  }
}

size_t FoldedFinder::Next(size_t from) {
  if (needle_.empty() || needle_.size() > haystack_.size()) return std::string_view::npos;
  const size_t last_start = haystack_.size() - needle_.size();
  for (size_t pos = NextCandidate(from); pos <= last_start; pos = NextCandidate(pos + 1)) {
    if (MatchesAt(pos)) return pos;
  }
  return std::string_view::npos;
}

size_t FoldedFinder::NextCandidate(size_t from) {
  const size_t lower = Advance(lower_, from);
  if (upper_.byte == lower_.byte) return lower;
  const size_t upper = Advance(upper_, from);
  return lower < upper ? lower : upper;
}

// A remembered position at or after `from` is still the first one there, because `from`
// never decreases; so each byte value is scanned with memchr at most once per haystack,
// and a long line with many near-misses costs no rescans.
size_t FoldedFinder::Advance(ByteCursor& cursor, size_t from) const {
  if (cursor.scanned && cursor.next >= from) return cursor.next;
  cursor.scanned = true;
  cursor.next = std::string_view::npos;
  if (from < haystack_.size()) {
    const void* hit = std::memchr(haystack_.data() + from, cursor.byte, haystack_.size() - from);
    if (hit) cursor.next = static_cast<size_t>(static_cast<const char*>(hit) - haystack_.data());
  }
  return cursor.next;
}

bool FoldedFinder::MatchesAt(size_t pos) const {
  const char* text = haystack_.data() + pos;
  for (size_t i = 1; i < needle_.size(); ++i) {
    if (FoldAsciiLetter(text[i]) != FoldAsciiLetter(needle_[i])) return false;
  }
  return true;
}

size_t FindFolded(std::string_view haystack, std::string_view needle, size_t from) {
  return FoldedFinder(haystack, needle).Next(from);
}
