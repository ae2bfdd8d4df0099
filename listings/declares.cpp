// Declares generation. The candidate list is rearranged in place into output order, with
// comment headers as entries of their own, and then written line by line.
#include "listings/declares.h"

#include <algorithm>

namespace {

bool ByFileName(const DeclareCandidate& a, const DeclareCandidate& b) {
  return a.FileName < b.FileName;
}

bool ByText(const DeclareCandidate& a, const DeclareCandidate& b) {
  return a.HeadText < b.HeadText;
}

/// `candidates` (sorted by file name) in output order: each group of equal file names
/// sorted by text under its header. The first group's short header takes part in its sort.
DeclareCandidates GroupUnderHeaders(const DeclareCandidates& candidates) {
  DeclareCandidates ordered;
  for (auto group = candidates.begin(); group != candidates.end();) {
    const auto group_end = std::find_if(group, candidates.end(), [&](const DeclareCandidate& c) {
      return c.FileName != group->FileName;
    });
    const bool first = ordered.empty();
    const std::string header = first ? ";" + group->FileName : "; Declares from: " + group->FileName;
    ordered.push_back(DeclareCandidate{header, group->FileName});
    const size_t sort_from = ordered.size() - (first ? 1 : 0);
    ordered.insert(ordered.end(), group, group_end);
    std::sort(ordered.begin() + static_cast<std::ptrdiff_t>(sort_from), ordered.end(), ByText);
    group = group_end;
  }
  return ordered;
}

/// `text` with every "Procedure" replaced by "Declare".
std::string WithDeclareKeyword(std::string text) {
  constexpr std::string_view From = "Procedure";
  constexpr std::string_view To = "Declare";
  for (size_t at = text.find(From); at != std::string::npos; at = text.find(From, at + To.size())) {
    text.replace(at, From.size(), To);
  }
  return text;
}

}  // namespace

std::string DeclaresText(DeclareCandidates& candidates) {
  std::stable_sort(candidates.begin(), candidates.end(), ByFileName);
  candidates = GroupUnderHeaders(candidates);
  std::string text;
  for (const DeclareCandidate& entry : candidates) text += WithDeclareKeyword(entry.HeadText) + "\r\n";
  return text;
}

