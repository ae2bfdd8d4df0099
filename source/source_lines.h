// The lines of a source file held whole in memory, split exactly as the line reader splits
// a file: at LF, CR, CR LF or a zero byte, the last line with or without a terminator.
#pragma once

#include <cstddef>
#include <string_view>

/// Walks the lines of `bytes` from the first to the last. The lines view `bytes`.
class SourceLines {
 public:
  /// The lines of `bytes`, which must outlive the walk.
  explicit SourceLines(std::string_view bytes) : bytes_(bytes) {}

  /// True when no line is left.
  bool AtEnd() const { return position_ >= bytes_.size(); }
  /// Next line without its terminator, leading blanks kept; empty at the end.
  std::string_view NextRaw();

 private:
  size_t NextTerminator();

  std::string_view bytes_;
  size_t position_ = 0;
  // The nearest CR and zero byte at or after the last search start: both are rare, so each
  // is searched again only once the walk has passed it, never once per line.
  size_t next_cr_ = 0;
  size_t next_zero_ = 0;
  bool searched_ = false;
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
std::string_view SourceLineOf(std::string_view raw);
