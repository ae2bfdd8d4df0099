// The lines of a source file held whole in memory, split exactly as the line reader splits
// a file: at LF, CR, CR LF or a zero byte, the last line with or without a terminator.
#pragma once

#include <cstddef>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "source/text_parts.h"

/// Walks the lines of `bytes` from the first to the last. The lines view `bytes`. Inline:
/// every listing asks it for every line of the project.
class SourceLines {
 public:
  /// The lines of `bytes`, which must outlive the walk.
  explicit SourceLines(std::string_view bytes)
      : bytes_(bytes), rare_(NextRareTerminator(bytes, 0)) {}

  /// True when no line is left.
  bool AtEnd() const { return position_ >= bytes_.size(); }
  /// Next line without its terminator, leading blanks kept; empty at the end.
  std::string_view NextRaw() {
    if (AtEnd()) return {};
    // CR and zero bytes are rare: the nearest one is searched again only once passed.
    if (rare_ < position_) rare_ = NextRareTerminator(bytes_, position_);
    const size_t end = NextLf(bytes_, position_, rare_);
    const std::string_view line(bytes_.data() + position_, end - position_);
    position_ = end + 1;
    if (end < bytes_.size() && bytes_[end] == '\r' && position_ < bytes_.size() &&
        bytes_[position_] == '\n') {
      ++position_;
    }
    return line;
  }

 private:
  /// Position of the first CR or zero byte at or after `from`, or the end.
  static size_t NextRareTerminator(std::string_view bytes, size_t from);
  /// Position of the first LF in [from, end), or `end`.
  static size_t NextLf(std::string_view bytes, size_t from, size_t end) {
#ifdef __SSE2__
    // Lines are short: sixteen bytes are compared at once, with no library call per line.
    const __m128i lf = _mm_set1_epi8('\n');
    for (; from + 16 <= end; from += 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + from));
      const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf));
      if (hits != 0) return from + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
    }
#endif
    while (from < end && bytes[from] != '\n') ++from;
    return from;
  }

  std::string_view bytes_;
  size_t position_ = 0;
  size_t rare_;  ///< the first CR or zero byte at or after the last search start
};

/// True for the bytes that end a line: LF, CR and the zero byte (a CR before an LF ends
/// the line together with it).
inline bool IsLineTerminator(char c) { return c == '\n' || c == '\r' || c == '\0'; }

/// One line of a file's bytes: where it starts and ends (at its terminator, or the end),
/// and its 1-based number.
struct LineSpan {
  size_t Start = 0;
  size_t End = 0;
  size_t Number = 0;
};

/// The lines of `bytes` that hold given positions, split as `SourceLines` splits: a walk
/// that needs a few lines of a file (those that hold a rare text) finds each around its
/// position and counts the terminators between, sixteen bytes at a time, instead of
/// splitting every line. Asked with positions that never decrease.
class SparseLines {
 public:
  /// The lines of `bytes`, which must outlive the walk.
  explicit SparseLines(std::string_view bytes) : bytes_(bytes) {}
  /// The line that holds position `at`, a byte that is no terminator.
  LineSpan LineOf(size_t at);

 private:
  /// Terminators in [from, to), a CR LF counted once; `to` starts a line.
  size_t TerminatorsIn(size_t from, size_t to) const;

  std::string_view bytes_;
  size_t counted_to_ = 0;   ///< a line start up to which the terminators are counted
  size_t terminators_ = 0;  ///< the terminators before `counted_to_`
};

/// Tells of the lines of one file, walked in order, which hold a given text: one search
/// finds the next occurrence for all the lines before it, so a text that is rare costs
/// about one search per file instead of one per line. `Find(from)` gives the first
/// occurrence in the file's bytes at or after `from`, or npos; it is asked with `from`
/// never decreasing.
template <typename Find>
class OccurrenceGate {
 public:
  /// Occurrences, `length` bytes long, of a text without line terminators in `bytes`.
  OccurrenceGate(std::string_view bytes, size_t length, Find find)
      : bytes_(bytes), length_(length), find_(find) {}
  /// True when `line`, a view into the bytes at or after every line asked before, holds
  /// an occurrence.
  bool In(std::string_view line) {
    const size_t start = static_cast<size_t>(line.data() - bytes_.data());
    if (!searched_ || (next_ != std::string_view::npos && next_ < start)) {
      next_ = find_(start);
      searched_ = true;
    }
    return next_ != std::string_view::npos && next_ + length_ <= start + line.size();
  }

 private:
  std::string_view bytes_;
  size_t length_;
  Find find_;
  size_t next_ = 0;  ///< first occurrence at or after the line that searched last, or npos
  bool searched_ = false;
};

/// The gate of the lines of `bytes` that hold `needle` exactly.
inline auto ExactGate(std::string_view bytes, std::string_view needle) {
  auto find = [bytes, needle](size_t from) { return bytes.find(needle, from); };
  return OccurrenceGate<decltype(find)>(bytes, needle.size(), find);
}

/// `raw` without its leading blanks (character 32), as `ReadSourceLine` gives a line.
inline std::string_view SourceLineOf(std::string_view raw) { return WithoutLeading(raw, ' '); }
