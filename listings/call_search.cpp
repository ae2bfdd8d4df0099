#include "listings/call_search.h"

#include <algorithm>
#include <utility>

#include "listings/call_matching.h"
#include "listings/folded_search.h"

namespace {

constexpr size_t npos = std::string_view::npos;

// Preparing a line with a key only closes up blanks before "(", which can turn a head
// into a non-head but makes no other line a head, an end or a comment; and FindCall needs
// the name in the line. So a line that is neither head nor end and lacks the name (letters
// folded, told by the gate of its file's lines) changes nothing in a pass for that key.
template <typename Gate>
bool MayMatter(const ProjectText& text, size_t line, std::string_view name, Gate& holds_name) {
  return text.CallKind(line) != LineKind::Other || name.empty() ||
         holds_name.In(text.SourceLine(line));
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
  std::string prepared = NormalizeCallLine(text.SourceLine(line), key);
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
    on_hit({file, number, std::move(prepared), call.Found,
            state.Inside ? state.Label : std::string(), state.Inside ? state.Head : npos, line,
            call.Ambiguous});
  }
}

// A pass started at a head line holds that head's label up to the next line that the
// key leaves a head or an end, or the end of the file; so one body is tracked without the
// lines before it, also where the key unmakes heads within it. Reports the calls of the
// body of `head` only.
bool ScanBody(const ProjectText& text, const ModuleScope& scope, std::string_view key,
              const CallTarget& target, size_t head, ListingHost& host,
              const CallHitHandler& on_hit) {
  const std::string_view name = CallKeyName(key);
  const size_t file = text.FileOf(head);
  const size_t file_end = text.Files()[file].FirstLine + text.Files()[file].LineCount;
  const auto in_body = [&](const CallHit& hit) {
    if (hit.Head == head) on_hit(hit);
  };
  PassState state;
  auto holds_name = FoldedGate(text.Files()[file].Bytes, name);
  for (size_t line = head; line < file_end; ++line) {
    if (!MayMatter(text, line, name, holds_name)) continue;
    TrackAndMatch(text, scope, file, line, key, target, LabelStyle::Bare, state, in_body);
    if (host.PollStop()) return true;
    if (!state.Inside || state.Head != head) return false;
  }
  return false;
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
    auto holds_name = FoldedGate(source.Bytes, name);
    for (size_t line = source.FirstLine; line < source.FirstLine + source.LineCount; ++line) {
      if (!MayMatter(text, line, name, holds_name)) continue;
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
                                         std::vector<size_t> body_heads)
    : ProcedureCallSearch(text, procedures) {
  // A line that no pass takes for a head (a variable named "Procedure...") has no body.
  const auto no_head = [&](size_t line) { return text.CallKind(line) != LineKind::Head; };
  body_heads.erase(std::remove_if(body_heads.begin(), body_heads.end(), no_head),
                   body_heads.end());
  body_heads_ = std::move(body_heads);
}

// A body's candidates are the lines after its head up to the next head or end line: the
// lines whose enclosing head `EnclosingHead` finds to be that head.
bool ProcedureCallSearch::Index(ListingHost& host) {
  if (!body_heads_) return candidates_.Sweep(text_, host);
  for (const size_t head : *body_heads_) {
    if (!candidates_.SweepLines(text_, head + 1, BodyEnd(head), host)) return false;
  }
  return true;
}

bool ProcedureCallSearch::FindCalls(std::string_view key, const CallTarget& target,
                                    ListingHost& host, const CallHitHandler& on_hit) const {
  // A key that can unmake a head changes the head lines themselves when the project has
  // a head it can unmake: only a full pass with the key's own preparation gets its flags
  // right then. The empty name has no token to index by and takes the full pass too.
  const bool may_unmake_head = CloseUpCanUnmakeHead(key) && bounds_.HasUnnamedHead();
  if (may_unmake_head || CallKeyName(key).empty()) {
    if (body_heads_) return ScanBodies(key, target, host, on_hit);
    return ScanForCalls(text_, scope_, key, target, LabelStyle::Bare, host, on_hit);
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

bool ProcedureCallSearch::ScanBodies(std::string_view key, const CallTarget& target,
                                     ListingHost& host, const CallHitHandler& on_hit) const {
  for (const size_t head : *body_heads_) {
    if (ScanBody(text_, scope_, key, target, head, host, on_hit)) return true;
  }
  return false;
}

size_t ProcedureCallSearch::BodyEnd(size_t head) const {
  const ProjectFile& file = text_.Files()[text_.FileOf(head)];
  return std::min(bounds_.BoundAfter(head), file.FirstLine + file.LineCount);
}

void ProcedureCallSearch::ExamineLine(size_t line, std::string_view key,
                                      const CallTarget& target,
                                      const CallHitHandler& on_hit) const {
  std::string prepared = NormalizeCallLine(text_.SourceLine(line), key);
  const TargetCall call = scope_.FindTargetCall(line, prepared, key, target);
  if (call.Found == 0) return;
  // Line numbers count from the file's first line, the head's too: it stands in the file.
  const size_t file = text_.FileOf(line);
  const size_t first_line = text_.Files()[file].FirstLine;
  const size_t head = EnclosingHead(line, first_line);
  std::string label;
  if (head != npos) {
    label = HeadLabel(LabelStyle::Bare, static_cast<int32_t>(head - first_line + 1),
                      NormalizeCallLine(text_.SourceLine(head), key));
  }
  on_hit({file, static_cast<int32_t>(line - first_line + 1), std::move(prepared), call.Found,
          std::move(label), head, line, call.Ambiguous});
}

// The label is emptied at each file start, so a head of an earlier file gives none.
size_t ProcedureCallSearch::EnclosingHead(size_t line, size_t file_first_line) const {
  if (!bounds_.InsideAt(line)) return npos;
  return bounds_.HeadBefore(line, file_first_line);
}
