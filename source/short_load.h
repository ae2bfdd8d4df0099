// A text shorter than sixteen bytes read as sixteen at once: the byte tests of the listings
// and the report's writers take most texts (cells, names, words) in one step that way,
// where a loop over their bytes would end where no processor foresees.
#pragma once

#ifdef __SSE2__
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

/// The `count` bytes (fewer than sixteen) at `bytes` in the first places of a vector, any
/// bytes in the others: sixteen read at once where they lie in one page (reading past the
/// text there cannot fault; the sanitizer is told so), else copied.
__attribute__((no_sanitize_address)) inline __m128i LoadShort(const char* bytes, size_t count) {
  constexpr uintptr_t kPage = 4096;
  if ((reinterpret_cast<uintptr_t>(bytes) & (kPage - 1)) <= kPage - 16) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  }
  alignas(16) char padded[16] = {};
  std::memcpy(padded, bytes, count);
  return _mm_load_si128(reinterpret_cast<const __m128i*>(padded));
}

/// The `count` bytes (fewer than sixteen, at least one) before `end` in the last places of
/// a vector, any bytes in the others: as `LoadShort`, sixteen read at once where they lie
/// in the page of the last byte.
__attribute__((no_sanitize_address)) inline __m128i LoadShortBefore(const char* end, size_t count) {
  constexpr uintptr_t kPage = 4096;
  if (((reinterpret_cast<uintptr_t>(end) - 1) & (kPage - 1)) >= 15) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
  }
  alignas(16) char padded[16] = {};
  std::memcpy(padded + 16 - count, end - count, count);
  return _mm_load_si128(reinterpret_cast<const __m128i*>(padded));
}
#endif
