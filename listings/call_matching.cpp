#include "listings/call_matching.h"

#include <algorithm>
#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "listings/folded_search.h"
#include "source/text_parts.h"

namespace {

constexpr std::string_view kCallSeparatorText = " :=+-*/,<>!%&|(@\t";

constexpr size_t npos = std::string_view::npos;

// One lookup per byte instead of a search through the separator text.
constexpr std::array<bool, 256> CallSeparatorTable() {
  std::array<bool, 256> table{};
  for (const char c : kCallSeparatorText) {
    table[static_cast<unsigned char>(c)] = true;
  }
  return table;
}
constexpr std::array<bool, 256> kIsCallSeparator = CallSeparatorTable();

std::string WithoutBlanks(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

std::string_view BeforeFirstParenthesis(std::string_view text) {
  return text.substr(0, text.find('('));
}

// Step 3: the first ";" at parenthesis depth 0 and outside a double-quoted string.
size_t CommentStart(std::string_view line) {
  if (line.find(';') == npos) return npos;
  int depth = 0;
  bool in_string = false;
  for (size_t i = 0; i < line.size(); ++i) {
    switch (line[i]) {
      case '(': ++depth; break;
      case ')': --depth; break;
      case '"': in_string = !in_string; break;
      case ';':
        if (depth == 0 && !in_string) return i;
        break;
      default: break;
    }
  }
  return npos;
}

// One left-to-right pass that turns every blank-and-"(" pair from `from` onward into a
// single "("; returns the number of pairs replaced.
size_t CloseUpBlanksBeforeParentheses(std::string& line, size_t from) {
  size_t write = from;
  size_t replaced = 0;
  for (size_t read = from; read < line.size(); ++read) {
    if (line[read] == ' ' && read + 1 < line.size() && line[read + 1] == '(') {
      ++replaced;
      continue;
    }
    line[write++] = line[read];
  }
  line.resize(write);
  return replaced;
}

// Step 4 word for word. Every pass that goes on removes at least one byte, so the loop
// ends even for a name word that is a lone blank (the key "(").
void CloseUpCallsPassByPass(std::string& line, std::string_view name_word) {
  size_t p = line.find(name_word);
  while (p != npos) {
    if (CloseUpBlanksBeforeParentheses(line, p) == 0) return;
    p = line.find(name_word, p);
  }
}

// The effect of `passes` passes of step 4 at once: every run of blanks directly before a
// "(" from `from` onward loses up to `passes` blanks.
void ShortenBlankRunsBeforeParentheses(std::string& line, size_t from, size_t passes) {
  size_t write = from;
  size_t read = from;
  while (read < line.size()) {
    if (line[read] != ' ') {
      line[write++] = line[read++];
      continue;
    }
    const size_t run_end = std::min(line.find_first_not_of(' ', read), line.size());
    const size_t run = run_end - read;
    const bool before_parenthesis = run_end < line.size() && line[run_end] == '(';
    const size_t kept = before_parenthesis ? run - std::min(run, passes) : run;
    std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(write), kept, ' ');
    write += kept;
    read = run_end;
  }
  line.resize(write);
}

// Step 4 with its passes counted in advance, so that a line with a long run of blanks
// before "(" costs one pass instead of one per blank. While the name word stands at p,
// the passes go on until the blanks after its name are gone (when a "(" follows them) or
// until no blank-and-"(" pair is left from p on (when none does); either way the passes
// at one p are done in one sweep. Needs a name (the name word less its blank) without
// blanks, so that the passes cannot change the name itself.
void CloseUpCalls(std::string& line, std::string_view name_word) {
  const std::string_view name = name_word.substr(0, name_word.size() - 1);
  if (name.find(' ') != npos) {
    CloseUpCallsPassByPass(line, name_word);
    return;
  }
  size_t p = line.find(name_word);
  while (p != npos) {
    const size_t blanks_start = p + name.size();
    const size_t blanks_end = std::min(line.find_first_not_of(' ', blanks_start), line.size());
    const bool call_follows = blanks_end < line.size() && line[blanks_end] == '(';
    const size_t passes = call_follows ? blanks_end - blanks_start : npos;
    ShortenBlankRunsBeforeParentheses(line, p, passes);
    if (!call_follows) return;
    p = line.find(name_word, p);
  }
}

}  // namespace

const std::string_view CallSeparators = kCallSeparatorText;

std::string CallKeyFromHead(std::string_view head_text) {
  const size_t first_blank = head_text.find(' ');
  const std::string_view from_blank =
      first_blank == npos ? head_text : head_text.substr(first_blank);
  return CallKeyFromName(WithoutLeading(from_blank, ' '));
}

std::string CallKeyFromName(std::string_view name) {
  std::string key(BeforeFirstParenthesis(name));
  key += '(';
  return WithoutBlanks(std::move(key));
}

std::string_view PrepareCallLine(std::string_view line) {
  line = WithoutLeading(WithoutLeading(line, '\t'), ' ');
  return line.substr(0, CommentStart(line));
}

std::string NormalizeCallLine(std::string_view line, std::string_view key) {
  std::string name_word(key.substr(0, key.empty() ? 0 : key.size() - 1));
  name_word += ' ';
  std::string prepared(PrepareCallLine(line));
  CloseUpCalls(prepared, name_word);
  return prepared;
}

NormalizedCallLine::NormalizedCallLine(std::string_view line, std::string_view key)
    : NormalizedCallLine(PreparedCallLine{PrepareCallLine(line)}, key) {}

// Asked of every line that the call sweep tries: sixteen places at once, each "(" beside
// the byte before it, rather than a library search per "("; the last sixteen places of a
// longer line once more, rather than a loop over the few left.
bool HasBlankBeforeParenthesis(std::string_view prepared) {
  const char* const bytes = prepared.data();
  size_t at = 1;
#ifdef __SSE2__
  const auto pairs_at = [bytes](size_t from) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from - 1));
    return _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(here, _mm_set1_epi8('(')),
                                           _mm_cmpeq_epi8(before, _mm_set1_epi8(' ')))) != 0;
  };
  for (; at + 16 <= prepared.size(); at += 16) {
    if (pairs_at(at)) return true;
  }
  if (at > 1 && at < prepared.size()) return pairs_at(prepared.size() - 16);
#endif
  for (; at < prepared.size(); ++at) {
    if (bytes[at] == '(' && bytes[at - 1] == ' ') return true;
  }
  return false;
}

NormalizedCallLine::NormalizedCallLine(PreparedCallLine prepared, std::string_view key)
    : text_(prepared.Text) {
  if (!prepared.BlankBeforeParenthesis) return;
  // Closing up starts at the first "name " written as the key writes it; without one
  // the prepared line is the answer.
  const std::string_view name = key.substr(0, key.empty() ? 0 : key.size() - 1);
  for (size_t at = text_.find(name); at != npos; at = text_.find(name, at + 1)) {
    if (at + name.size() < text_.size() && text_[at + name.size()] == ' ') {
      closed_up_.assign(text_.data(), text_.size());
      CloseUpCalls(closed_up_, std::string(name) + ' ');
      closed_up_held_ = true;
      text_ = closed_up_;
      return;
    }
  }
}

// Preparing removes leading blanks, the comment and blanks before "(", never a byte of
// the name (which holds no blank and no "("), so a call in the prepared line was the
// name, blanks and "(" in the line itself.
bool ParenthesisFollows(std::string_view text, size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at < text.size() && text[at] == '(';
}

bool MayHoldCall(std::string_view line, std::string_view key) {
  const std::string_view name = key.substr(0, key.empty() ? 0 : key.size() - 1);
  if (name.empty()) return true;
  const FoldedFinder finder(line, name);
  for (size_t at = finder.Next(0); at != npos; at = finder.Next(at + 1)) {
    if (ParenthesisFollows(line, at + name.size())) return true;
  }
  return false;
}

bool IsCallSeparator(char c) { return kIsCallSeparator[static_cast<unsigned char>(c)]; }

int FindCall(std::string_view line, std::string_view key) {
  return FindCallWhere(line, key, [](size_t) { return true; });
}
