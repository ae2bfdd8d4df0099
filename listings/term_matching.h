// Term matching: whether a term occurs in a line as a whole word outside string literals
// and the comment, in which letter case, and how it is used there.
#pragma once

#include <string>
#include <string_view>

/// Characters that may stand directly before an accepted occurrence; the first three
/// (backslash, asterisk, at sign) select a use marker.
extern const std::string_view LeadingSeparators;

/// Characters that may stand directly after an accepted occurrence; the first two
/// (backslash, opening parenthesis) select a use marker.
extern const std::string_view TrailingSeparators;

/// Answer of `MatchTerm`.
struct TermMatch {
  int Result = 0;               ///< 3 accepted in exact case, -3 accepted in other case, 0 none
  std::string_view UseMarker;   ///< "", "\\_", "*", "@", "_\\" or "_()"; static text
};

/// Tests `line` for `term` as a whole word; the line itself is not changed. An empty term
/// never matches; the marker is empty whenever the result is 0.
TermMatch MatchTerm(std::string_view line, std::string_view term);

/// As `MatchTerm`, with `scratch` as room for a line whose string literals must be
/// blanked: a search of many lines reuses it instead of taking new memory for each.
TermMatch MatchTerm(std::string_view line, std::string_view term, std::string& scratch);
