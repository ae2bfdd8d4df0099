#include "source/source_lines.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "source/text_parts.h"

namespace {

// Position of the first `byte` at or after `from`, or the end.
size_t Find(std::string_view bytes, size_t from, char byte) {
  const void* hit = std::memchr(bytes.data() + from, byte, bytes.size() - from);
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - bytes.data()) : bytes.size();
}

// Position of the first LF in [from, end), or `end`. Lines are short, so sixteen bytes
// are compared at once without the cost of a library call per line.
size_t FindLf(std::string_view bytes, size_t from, size_t end) {
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n');
  for (; from + 16 <= end; from += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + from));
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf));
    if (hits != 0) return from + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
  }
  while (from < end && bytes[from] != '\n') ++from;
  return from;
#else
  const void* hit = std::memchr(bytes.data() + from, '\n', end - from);
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - bytes.data()) : end;
#endif
}

}  // namespace

size_t SourceLines::NextTerminator() {
  if (!searched_ || next_cr_ < position_) next_cr_ = Find(bytes_, position_, '\r');
  if (!searched_ || next_zero_ < position_) next_zero_ = Find(bytes_, position_, '\0');
  searched_ = true;
  // A LF is looked for only up to the nearer rare terminator.
  return FindLf(bytes_, position_, std::min(next_cr_, next_zero_));
}

std::string_view SourceLines::NextRaw() {
  if (AtEnd()) return {};
  const size_t end = NextTerminator();
  const std::string_view line = bytes_.substr(position_, end - position_);
  position_ = end + 1;
  if (end < bytes_.size() && bytes_[end] == '\r' && position_ < bytes_.size() &&
      bytes_[position_] == '\n') {
    ++position_;
  }
  return line;
}

std::string_view SourceLineOf(std::string_view raw) {
  return WithoutLeading(raw, ' ');
}
