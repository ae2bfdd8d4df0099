// Plain, slow restatements of the two line matchers, written step by step from their
// rules with naive searches. The fuzz targets compare the real matchers against them.
#pragma once

#include <string>
#include <string_view>

namespace reference {

constexpr size_t npos = std::string_view::npos;

inline char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

/// First occurrence of `needle` in `text` at or after `from`, A-Z/a-z folded; npos if none.
inline size_t FindFolded(std::string_view text, std::string_view needle, size_t from) {
  if (needle.empty()) return npos;
  for (size_t p = from; p + needle.size() <= text.size(); ++p) {
    size_t i = 0;
    while (i < needle.size() && Fold(text[p + i]) == Fold(needle[i])) ++i;
    if (i == needle.size()) return p;
  }
  return npos;
}

/// One left-to-right pass replacing every blank-and-"(" pair from `from` on by "(".
inline std::string ReplacePairsFrom(const std::string& line, size_t from) {
  std::string out = line.substr(0, from);
  for (size_t i = from; i < line.size(); ++i) {
    if (line[i] == ' ' && i + 1 < line.size() && line[i + 1] == '(') continue;
    out += line[i];
  }
  return out;
}

inline std::string NormalizeCallLine(std::string_view input, std::string_view key) {
  const std::string name_word = std::string(key.substr(0, key.empty() ? 0 : key.size() - 1)) + " ";
  std::string line(input);
  line.erase(0, std::min(line.find_first_not_of('\t'), line.size()));
  line.erase(0, std::min(line.find_first_not_of(' '), line.size()));
  if (line.find(';') != npos) {
    int depth = 0;
    bool in_string = false;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '(') ++depth;
      if (line[i] == ')') --depth;
      if (line[i] == '"') in_string = !in_string;
      if (line[i] == ';' && depth == 0 && !in_string) {
        line.resize(i);
        break;
      }
    }
  }
  size_t p = line.find(name_word);
  while (p != npos && line.find(" (", p) != npos) {
    line = ReplacePairsFrom(line, p);
    p = line.find(name_word, p);
  }
  return line;
}

inline int FindCall(std::string_view line, std::string_view key) {
  const std::string_view separators = " :=+-*/,<>!%&|(@\t";
  size_t p = FindFolded(line, key, 0);
  int sign = (p != npos && line.find(key) == npos) ? -1 : +1;
  while (p != npos) {
    if (p == 0 || separators.find(line[p - 1]) != npos) return sign;
    const size_t q = p;
    p = FindFolded(line, key, q + 1);
    if (p != npos) sign = line.find(key, q + 1) == npos ? -1 : +1;
  }
  return 0;
}

/// Result and marker of the term test.
struct TermAnswer {
  int Result = 0;
  std::string Marker;
};

inline TermAnswer MatchTerm(std::string_view input, std::string_view term) {
  const std::string_view leading = "\\*@ :=+-/,<>!%&|(\t";
  const std::string_view trailing = "\\( :=+-*/,.<>!%&|)\t";
  std::string copy(input);
  size_t quotes = 0;
  for (const char c : copy) quotes += c == '"' ? 1 : 0;
  if (quotes != 0 && quotes % 2 == 0) {
    for (size_t open = copy.find('"'); open != npos;) {
      const size_t close = copy.find('"', open + 1);
      for (size_t i = open + 1; i < close; ++i) copy[i] = ' ';
      open = copy.find('"', close + 1);
    }
  }
  copy = copy.substr(0, copy.find(';'));
  TermAnswer answer;
  size_t p = FindFolded(copy, term, 0);
  if (p == npos) return answer;
  int sign = copy.find(term) == npos ? -1 : +1;
  while (true) {
    int score = 0;
    answer.Marker.clear();
    const size_t at_leading = p == 0 ? npos : leading.find(copy[p - 1]);
    if (p == 0 || at_leading != npos) ++score;
    if (at_leading == 0) answer.Marker = "\\_";
    if (at_leading == 1) answer.Marker = "*";
    if (at_leading == 2) answer.Marker = "@";
    const size_t end = p + term.size();
    const size_t at_trailing = end == copy.size() ? npos : trailing.find(copy[end]);
    if (end == copy.size() || at_trailing != npos) score += 2;
    if (at_trailing == 0) answer.Marker = "_\\";
    if (at_trailing == 1) answer.Marker = "_()";
    if (score == 3) {
      answer.Result = 3 * sign;
      return answer;
    }
    p = FindFolded(copy, term, p + 1);
    if (p == npos) return TermAnswer{};
    sign = copy.find(term, p) == npos ? -1 : +1;
  }
}

}  // namespace reference
