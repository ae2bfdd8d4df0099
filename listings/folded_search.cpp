#include "listings/folded_search.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "source/short_load.h"

namespace {

constexpr char UpperAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

#ifdef __SSE2__
/// The places of sixteen bytes where `a` and `b` are the same, A-Z folded to a-z.
unsigned SameFoldedPlaces(__m128i a, __m128i b) {
  const auto folded = [](__m128i bytes) {
    const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('A' - 1)),
                                        _mm_cmplt_epi8(bytes, _mm_set1_epi8('Z' + 1)));
    return _mm_or_si128(bytes, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
  };
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(folded(a), folded(b))));
}

__m128i Load16(const char* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}
#endif

}  // namespace

bool SameFoldedBytes(const char* text, const char* other, size_t length) {
#ifdef __SSE2__
  constexpr unsigned kAll = 0xFFFF;
  if (length == 0) return true;  // the texts may be null then
  if (length < 16) {
    const unsigned wanted = (1u << length) - 1;
    return (SameFoldedPlaces(LoadShort(text, length), LoadShort(other, length)) & wanted) == wanted;
  }
  for (size_t at = 0; at + 16 <= length; at += 16) {
    if (SameFoldedPlaces(Load16(text + at), Load16(other + at)) != kAll) return false;
  }
  // The last sixteen bytes once more, some compared already.
  return SameFoldedPlaces(Load16(text + length - 16), Load16(other + length - 16)) == kAll;
#else
  for (size_t i = 0; i < length; ++i) {
    if (FoldAsciiLetter(text[i]) != FoldAsciiLetter(other[i])) return false;
  }
  return true;
#endif
}

FoldedFinder::FoldedFinder(std::string_view haystack, std::string_view needle)
    : haystack_(haystack), needle_(needle) {
  if (needle.empty()) return;
  first_lower_ = FoldAsciiLetter(needle[0]);
  first_upper_ = UpperAsciiLetter(needle[0]);
  // A needle of one byte: every second byte fits, so both bytes of the pair test agree.
  second_lower_ = needle.size() > 1 ? FoldAsciiLetter(needle[1]) : 0;
  second_upper_ = needle.size() > 1 ? UpperAsciiLetter(needle[1]) : 0;
}

FoldedFinder FoldedFinder::Exact(std::string_view haystack, std::string_view needle) {
  FoldedFinder finder(haystack, needle);
  finder.exact_ = true;
  if (needle.empty()) return finder;
  finder.first_lower_ = finder.first_upper_ = needle[0];
  finder.second_lower_ = finder.second_upper_ = needle.size() > 1 ? needle[1] : 0;
  return finder;
}

size_t FoldedFinder::Next(size_t from) const {
  if (needle_.empty() || needle_.size() > haystack_.size()) return std::string_view::npos;
  const size_t last_start = haystack_.size() - needle_.size();
  for (size_t pos = NextCandidate(from); pos <= last_start; pos = NextCandidate(pos + 1)) {
    if (MatchesAt(pos)) return pos;
  }
  return std::string_view::npos;
}

size_t FoldedFinder::NextCandidate(size_t from) const {
  const char* bytes = haystack_.data();
  const size_t size = haystack_.size();
  const bool pair = needle_.size() > 1;
#ifdef __SSE2__
  const __m128i first_lower = _mm_set1_epi8(first_lower_);
  const __m128i first_upper = _mm_set1_epi8(first_upper_);
  const __m128i second_lower = _mm_set1_epi8(second_lower_);
  const __m128i second_upper = _mm_set1_epi8(second_upper_);
  // Sixteen places at once; the second bytes are the sixteen after them, so one byte more
  // must be there.
  for (; from + 17 <= size; from += 16) {
    const __m128i firsts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
    __m128i fits = _mm_or_si128(_mm_cmpeq_epi8(firsts, first_lower), _mm_cmpeq_epi8(firsts, first_upper));
    if (pair) {
      const __m128i seconds = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from + 1));
      fits = _mm_and_si128(fits, _mm_or_si128(_mm_cmpeq_epi8(seconds, second_lower),
                                              _mm_cmpeq_epi8(seconds, second_upper)));
    }
    const int places = _mm_movemask_epi8(fits);
    if (places != 0) return from + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(places)));
  }
#endif
  // A byte folds to the first byte's letter exactly when it is its lower or upper form.
  for (; from < size; ++from) {
    if (bytes[from] != first_lower_ && bytes[from] != first_upper_) continue;
    if (!pair) return from;
    if (from + 1 < size && (bytes[from + 1] == second_lower_ || bytes[from + 1] == second_upper_)) {
      return from;
    }
  }
  return std::string_view::npos;
}

bool FoldedFinder::MatchesAt(size_t pos) const {
  const char* text = haystack_.data() + pos;
  if (exact_) return std::memcmp(text + 1, needle_.data() + 1, needle_.size() - 1) == 0;
  return SameFoldedBytes(text + 1, needle_.data() + 1, needle_.size() - 1);
}

size_t FindFolded(std::string_view haystack, std::string_view needle, size_t from) {
  return FoldedFinder(haystack, needle).Next(from);
}
