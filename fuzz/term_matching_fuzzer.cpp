// Fuzz target: MatchTerm on arbitrary lines and terms. The input's first line is the
// term, the rest is the source line. The answer is compared with a plain restatement of
// the rules, and the facts that hold whatever the line are checked on their own.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_project.h"
#include "fuzz/reference_matching.h"
#include "listings/term_matching.h"

namespace {

bool IsKnownMarker(std::string_view marker) {
  return marker.empty() || marker == "\\_" || marker == "*" || marker == "@" || marker == "_\\" ||
         marker == "_()";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  const std::string_view term = input.substr(0, newline);
  const std::string_view line =
      newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
  const TermMatch match = MatchTerm(line, term);

  Require(match.Result == -3 || match.Result == 0 || match.Result == 3, "result is -3, 0 or 3");
  Require(IsKnownMarker(match.UseMarker), "the marker is one of the six values");
  Require(match.Result != 0 || match.UseMarker.empty(), "no marker without a match");
  Require(!term.empty() || match.Result == 0, "an empty term never matches");
  // Blanking string literals only brings in blanks, so a term without a blank that matches
  // must stand in the line as it was given.
  const bool blank_free = term.find(' ') == std::string_view::npos;
  const std::string_view before_any_semicolon = line.substr(0, line.find(';'));
  Require(!blank_free || match.Result == 0 ||
              reference::FindFolded(line, term, 0) != std::string_view::npos,
          "a match needs the term in the line, letters folded");
  Require(!blank_free || match.Result != 3 || line.find(term) != std::string_view::npos,
          "3 needs the term in its exact case");
  Require(line.find('"') != std::string_view::npos || match.Result == 0 ||
              reference::FindFolded(before_any_semicolon, term, 0) != std::string_view::npos,
          "without quotes, a match stands before the first ;");
  const reference::TermAnswer expected = reference::MatchTerm(line, term);
  Require(match.Result == expected.Result && match.UseMarker == expected.Marker,
          "MatchTerm agrees with its restatement");
  return 0;
}
