#include "listings/term_matching.h"

#include <algorithm>
#include <array>
#include <string>

#include "listings/folded_search.h"

namespace {

constexpr std::string_view kLeadingText = "\\*@ :=+-/,<>!%&|(\t";
constexpr std::string_view kTrailingText = "\\( :=+-*/,.<>!%&|)\t";

constexpr size_t npos = std::string_view::npos;

constexpr std::array<bool, 256> MembershipTable(std::string_view members) {
  std::array<bool, 256> table{};
  for (const char c : members) table[static_cast<unsigned char>(c)] = true;
  return table;
}
constexpr std::array<bool, 256> kIsLeading = MembershipTable(kLeadingText);
constexpr std::array<bool, 256> kIsTrailing = MembershipTable(kTrailingText);

bool IsIn(const std::array<bool, 256>& table, char c) {
  return table[static_cast<unsigned char>(c)];
}

// Step 2: blanks the text between the quotes of each pair, first with second and so on.
void BlankStringLiterals(std::string& copy) {
  size_t open = copy.find('"');
  while (open != npos) {
    const size_t close = copy.find('"', open + 1);
    std::fill(copy.begin() + static_cast<std::ptrdiff_t>(open + 1),
              copy.begin() + static_cast<std::ptrdiff_t>(close), ' ');
    open = copy.find('"', close + 1);
  }
}

bool NeedsBlanking(std::string_view line) {
  if (line.find('"') == npos) return false;  // most lines: one search, no count
  const auto quotes = std::count(line.begin(), line.end(), '"');
  return quotes != 0 && quotes % 2 == 0;
}

std::string_view BeforeComment(std::string_view text) { return text.substr(0, text.find(';')); }

// Steps 6.1 to 6.3 for the occurrence at 0-based `p`: the score and the marker.
int ScoreOccurrence(std::string_view text, size_t p, size_t n, std::string_view& marker) {
  int score = 0;
  marker = {};
  if (p == 0 || IsIn(kIsLeading, text[p - 1])) {
    ++score;
    if (p > 0 && text[p - 1] == '\\') marker = "\\_";
    if (p > 0 && text[p - 1] == '*') marker = "*";
    if (p > 0 && text[p - 1] == '@') marker = "@";
  }
  const size_t end = p + n;
  if (end == text.size() || IsIn(kIsTrailing, text[end])) {
    score += 2;
    if (end < text.size() && text[end] == '\\') marker = "_\\";
    if (end < text.size() && text[end] == '(') marker = "_()";
  }
  return score;
}

// Steps 4 to 6 on the prepared text (literals blanked, comment cut).
TermMatch MatchPrepared(std::string_view text, std::string_view term) {
  TermMatch match;
  FoldedFinder finder(text, term);
  size_t search_start = 0;
  for (size_t p = finder.Next(0); p != npos; p = finder.Next(search_start)) {
    if (ScoreOccurrence(text, p, term.size(), match.UseMarker) == 3) {
      // The sign asks for an exact-case occurrence anywhere from where this search began.
      match.Result = FoldedFinder::Exact(text, term).Next(search_start) == npos ? -3 : 3;
      return match;
    }
    search_start = p + 1;
  }
  match.UseMarker = {};
  return match;
}

}  // namespace

const std::string_view LeadingSeparators = kLeadingText;
const std::string_view TrailingSeparators = kTrailingText;

TermMatch MatchTerm(std::string_view line, std::string_view term) {
  std::string scratch;
  return MatchTerm(line, term, scratch);
}

TermMatch MatchTerm(std::string_view line, std::string_view term, std::string& scratch) {
  if (!NeedsBlanking(line)) return MatchPrepared(BeforeComment(line), term);
  scratch.assign(line);
  BlankStringLiterals(scratch);
  return MatchPrepared(BeforeComment(scratch), term);
}
