// Call matching: prepares a source line and tests it for a call of one procedure, given
// the procedure's call key (its name followed by "(", without blanks).
#pragma once

#include <string>
#include <string_view>

#include "listings/folded_search.h"

/// The 17 characters that may stand directly before a call.
extern const std::string_view CallSeparators;

/// Key of the procedure whose head line is `head_text`: the text from its first blank,
/// leading blanks removed, cut before the first "(", then "(", every blank removed.
std::string CallKeyFromHead(std::string_view head_text);

/// Key of a procedure given by name (with or without parameter list or trailing "("):
/// the text before the first "(", then "(", every blank removed.
std::string CallKeyFromName(std::string_view name);

/// The steps of `NormalizeCallLine` that do not depend on the key: leading tabs, then
/// leading blanks removed, cut before the first ";" outside parentheses and strings.
std::string_view PrepareCallLine(std::string_view line);

/// Prepared line: leading tabs and blanks removed, cut at the first ";" outside
/// parentheses and strings, blanks before "(" closed up from the procedure's name on.
std::string NormalizeCallLine(std::string_view line, std::string_view key);

/// A line as `PrepareCallLine` gave it already.
struct PreparedCallLine {
  std::string_view Text;
  /// False when the line holds no blank before a "(": closing up then changes nothing,
  /// whatever the key. A caller that tries many keys on one line finds it out once.
  bool BlankBeforeParenthesis = true;
};

/// True when `prepared` holds a blank followed by "(".
bool HasBlankBeforeParenthesis(std::string_view prepared);

/// `NormalizeCallLine` that copies the line only when closing up blanks changes it, as
/// for a line that holds the key's name followed by a blank; most lines do not.
class NormalizedCallLine {
 public:
  /// The prepared form of `line` for `key`; it views `line` where it can, which must then
  /// outlive it.
  NormalizedCallLine(std::string_view line, std::string_view key);
  /// The same for a line prepared already, as a caller that tries many keys on one line
  /// has it: `PrepareCallLine` is not done again.
  NormalizedCallLine(PreparedCallLine prepared, std::string_view key);
  NormalizedCallLine(const NormalizedCallLine&) = delete;
  NormalizedCallLine& operator=(const NormalizedCallLine&) = delete;
  /// The text `NormalizeCallLine(line, key)` returns.
  std::string_view Text() const { return text_; }
  /// True when closing up changed the line: `Text()` is then no part of it.
  bool ClosedUp() const { return closed_up_held_; }

 private:
  bool closed_up_held_ = false;
  std::string closed_up_;
  std::string_view text_;
};

/// True when blanks and then "(" follow in `text` from `at` on: what must follow a name
/// for preparing the line to make a call of it.
bool ParenthesisFollows(std::string_view text, size_t at);

/// False when no preparation of `line` can hold a call of `key` (whose name holds no
/// blank): the line lacks the name, letters folded, followed by blanks and "(". True for
/// an empty key.
bool MayHoldCall(std::string_view line, std::string_view key);

/// 0 when the prepared `line` holds no call of `key`; +1 for a call; -1 for a call found
/// only with letter case ignored. An empty key is never found.
int FindCall(std::string_view line, std::string_view key);

/// As `FindCall`, but an occurrence that stands where a call can counts only when
/// `counts(position)` is true for its 0-based position in `line`.
template <typename Counts>
int FindCallWhere(std::string_view line, std::string_view key, const Counts& counts);

/// True for the characters of `CallSeparators`.
bool IsCallSeparator(char c);

template <typename Counts>
int FindCallWhere(std::string_view line, std::string_view key, const Counts& counts) {
  FoldedFinder finder(line, key);
  size_t search_start = 0;
  for (size_t p = finder.Next(0); p != std::string_view::npos; p = finder.Next(search_start)) {
    if ((p == 0 || IsCallSeparator(line[p - 1])) && counts(p)) {
      // The sign asks for an exact-case occurrence anywhere from where this search began.
      return line.find(key, search_start) == std::string_view::npos ? -1 : +1;
    }
    search_start = p + 1;
  }
  return 0;
}
