#include "source/source_lines.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

size_t SourceLines::NextRareTerminator(std::string_view bytes, size_t from) {
  size_t nearest = bytes.size();
  if (from >= nearest) return nearest;
  for (const char rare : {'\r', '\0'}) {
    const void* hit = std::memchr(bytes.data() + from, rare, nearest - from);
    if (hit) nearest = static_cast<size_t>(static_cast<const char*>(hit) - bytes.data());
  }
  return nearest;
}

LineSpan SparseLines::LineOf(size_t at) {
  size_t start = at;
  while (start > 0 && !IsLineTerminator(bytes_[start - 1])) --start;
  size_t end = at;
  while (end < bytes_.size() && !IsLineTerminator(bytes_[end])) ++end;
  terminators_ += TerminatorsIn(counted_to_, start);
  counted_to_ = start;
  return {start, end, terminators_ + 1};
}

// Every LF, CR and zero byte ends a line, but a CR before an LF ends it with that LF.
size_t SparseLines::TerminatorsIn(size_t from, size_t to) const {
  const char* const bytes = bytes_.data();
  size_t count = 0;
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i zero = _mm_setzero_si128();
  // Each byte beside the one after it, which must be there too.
  for (; from + 16 <= to && from + 17 <= bytes_.size(); from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from + 1));
    const __m128i returns = _mm_cmpeq_epi8(block, cr);
    const __m128i ends = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, lf), returns),
                                      _mm_cmpeq_epi8(block, zero));
    const __m128i pairs = _mm_and_si128(returns, _mm_cmpeq_epi8(next, lf));
    count += static_cast<size_t>(__builtin_popcount(static_cast<unsigned>(_mm_movemask_epi8(ends))) -
                                 __builtin_popcount(static_cast<unsigned>(_mm_movemask_epi8(pairs))));
  }
#endif
  for (; from < to; ++from) {
    const char c = bytes[from];
    const bool pair = c == '\r' && from + 1 < bytes_.size() && bytes[from + 1] == '\n';
    count += IsLineTerminator(c) && !pair ? 1 : 0;
  }
  return count;
}
