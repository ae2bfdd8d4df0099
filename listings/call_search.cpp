#include "listings/call_search.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

#include "listings/call_matching.h"
#include "listings/folded_search.h"

namespace {

constexpr size_t npos = std::string_view::npos;

/// The gate of the lines of `bytes` (walked in order) that hold `name` followed by blanks
/// and "(", letters folded: the lines that `MayHoldCall` lets through, found in one search
/// of the file, since most lines lack the name.
auto CallGate(std::string_view bytes, std::string_view name) {
  auto find = [bytes, size = name.size(), finder = FoldedFinder(bytes, name)](size_t from) {
    for (size_t at = finder.Next(from); at != npos; at = finder.Next(at + 1)) {
      if (ParenthesisFollows(bytes, at + size)) return at;
    }
    return npos;
  };
  return OccurrenceGate<decltype(find)>(bytes, name.size(), find);
}

// Preparing a line with a key only closes up blanks before "(", which can turn a head
// into a non-head but makes no other line a head, an end or a comment; and FindCall needs
// the name followed by blanks and "(" in the line. So a line that is neither head nor end
// and lacks that changes nothing in a pass for that key.
template <typename Gate>
bool MayMatter(const ProjectText& text, size_t line, std::string_view name, Gate& holds_call) {
  return text.CallKind(line) != LineKind::Other || name.empty() ||
         holds_call.In(text.SourceLine(line));
}

/// Where a sequential pass stands: the inside flag and the label of the current file.
struct PassState {
  bool Inside = false;
  std::string Label;
  size_t Head = npos;  ///< line id of the label's head; npos while the label is empty
};

// The steps of the straightforward pass for one line: comment lines are skipped, a head
// sets the flag and the label and is not searched, an end clears the flag before its own
// search.
void TrackAndMatch(const ProjectText& text, const ModuleScope& scope, size_t file, size_t line,
                   std::string_view key, const CallTarget& target, LabelStyle style,
                   PassState& state, const CallHitHandler& on_hit) {
  const int32_t number = static_cast<int32_t>(line - text.Files()[file].FirstLine + 1);
  const NormalizedCallLine normalized(text.SourceLine(line), key);
  const std::string_view prepared = normalized.Text();
  if (IsCommentLine(prepared)) return;
  if (IsProcedureHead(prepared)) {
    state.Inside = true;
    state.Label = HeadLabel(style, number, prepared);
    state.Head = line;
    return;
  }
  if (IsProcedureEnd(prepared)) state.Inside = false;
  const TargetCall call = scope.FindTargetCall(line, prepared, key, target);
  if (call.Found != 0) {
    on_hit({file, number, prepared, call.Found,
            state.Inside ? std::string_view(state.Label) : std::string_view(),
            state.Inside ? state.Head : npos, line,
            call.Ambiguous});
  }
}

}  // namespace

bool ScanForCalls(const ProjectText& text, const ModuleScope& scope, std::string_view key,
                  const CallTarget& target, LabelStyle style, ListingHost& host,
                  const CallHitHandler& on_hit) {
  const std::string_view name = CallKeyName(key);
  PassState state;
  for (size_t file = 0; file < text.Files().size(); ++file) {
    state.Label.clear();
    state.Head = npos;
    const ProjectFile& source = text.Files()[file];
    auto holds_call = CallGate(source.Bytes, name);
    for (size_t line = source.FirstLine; line < source.FirstLine + source.LineCount; ++line) {
      if (!MayMatter(text, line, name, holds_call)) continue;
      TrackAndMatch(text, scope, file, line, key, target, style, state, on_hit);
      if (host.PollStop()) return true;
    }
  }
  return false;
}

ProcedureCallSearch::ProcedureCallSearch(const ProjectText& text, const ProcedureIndex& procedures)
    : text_(text), candidates_(procedures), bounds_(text), scope_(text, procedures) {}

ProcedureCallSearch::ProcedureCallSearch(const ProjectText& text,
                                         const ProcedureIndex& procedures,
                                         std::vector<std::pair<size_t, size_t>> bodies)
    : ProcedureCallSearch(text, procedures) {
  bodies_ = std::move(bodies);
}

bool ProcedureCallSearch::Index(ListingHost& host) {
  if (!bodies_) return candidates_.Sweep(text_, host);
  for (const auto& [first, last] : *bodies_) {
    if (!candidates_.SweepLines(text_, first, last, host)) return false;
  }
  return true;
}

bool ProcedureCallSearch::FindCalls(std::string_view key, const CallTarget& target,
                                    ListingHost& host, const CallHitHandler& on_hit) const {
  // A key that can unmake a head changes the head lines themselves when the project has
  // a head it can unmake: only a full pass with the key's own preparation gets its flags
  // right then. The empty name has no token to index by and takes the full pass too.
  if (NeedsFullPass(key)) {
    if (!bodies_) return ScanForCalls(text_, scope_, key, target, LabelStyle::Bare, host, on_hit);
    // The rare full pass, kept to the lines of the bodies.
    return ScanForCalls(text_, scope_, key, target, LabelStyle::Bare, host,
                        [&](const CallHit& hit) {
                          if (InBodies(hit.Line)) on_hit(hit);
                        });
  }
  return FindCallsInLines(key, target, host, on_hit);
}

// Head lines are never searched, and for this key the heads and ends are those of
// `bounds_`, so only the candidate lines need looking at.
bool ProcedureCallSearch::FindCallsInLines(std::string_view key, const CallTarget& target,
                                           ListingHost& host,
                                           const CallHitHandler& on_hit) const {
  const std::vector<size_t>& lines = candidates_.LinesFor(CallKeyName(key));
  // The lines lie all over the project: their records and bytes are asked for a few lines
  // ahead, in two steps since the bytes' address is in the record.
  constexpr size_t kRecordsAhead = 16;
  constexpr size_t kBytesAhead = 8;
  for (size_t at = 0; at < std::min(lines.size(), kRecordsAhead); ++at) text_.PrefetchLine(lines[at]);
  for (size_t at = 0; at < lines.size(); ++at) {
    if (at + kRecordsAhead < lines.size()) text_.PrefetchLine(lines[at + kRecordsAhead]);
    if (at + kBytesAhead < lines.size()) text_.PrefetchText(lines[at + kBytesAhead]);
    ExamineLine(lines[at], key, target, on_hit);
    if (host.PollStop()) return true;
  }
  return false;
}

bool ProcedureCallSearch::InBodies(size_t line) const {
  const auto after = std::upper_bound(bodies_->begin(), bodies_->end(),
                                      std::make_pair(line, std::numeric_limits<size_t>::max()));
  return after != bodies_->begin() && line < std::prev(after)->second;
}

void ProcedureCallSearch::ExamineLine(size_t line, std::string_view key,
                                      const CallTarget& target,
                                      const CallHitHandler& on_hit) const {
  const std::string_view source = text_.SourceLine(line);
  if (!MayHoldCall(source, key)) return;
  const NormalizedCallLine prepared(source, key);
  const TargetCall call = scope_.FindTargetCall(line, prepared.Text(), key, target);
  if (call.Found != 0) ReportPreparedHit(line, prepared.Text(), key, call, on_hit);
}

bool ProcedureCallSearch::NeedsFullPass(std::string_view key) const {
  return (CloseUpCanUnmakeHead(key) && bounds_.HasUnnamedHead()) || CallKeyName(key).empty();
}

void ProcedureCallSearch::ReportPreparedHit(size_t line, std::string_view prepared,
                                            std::string_view key, const TargetCall& call,
                                            const CallHitHandler& on_hit) const {
  // Line numbers count from the file's first line, the head's too: it stands in the file.
  const size_t file = text_.FileOf(line);
  const size_t first_line = text_.Files()[file].FirstLine;
  const size_t head = EnclosingHead(line, first_line);
  std::string label;
  if (head != npos) {
    const NormalizedCallLine head_line(text_.SourceLine(head), key);
    label = HeadLabel(LabelStyle::Bare, static_cast<int32_t>(head - first_line + 1),
                      head_line.Text());
  }
  on_hit({file, static_cast<int32_t>(line - first_line + 1), prepared, call.Found, label, head,
          line, call.Ambiguous});
}

// The label is emptied at each file start, so a head of an earlier file gives none.
size_t ProcedureCallSearch::EnclosingHead(size_t line, size_t file_first_line) const {
  if (!bounds_.InsideAt(line)) return npos;
  return bounds_.HeadBefore(line, file_first_line);
}
