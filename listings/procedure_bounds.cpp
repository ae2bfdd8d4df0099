#include "listings/procedure_bounds.h"

#include <algorithm>

#include "listings/call_matching.h"

namespace {

// "Procedure (" with any number of blanks: a close-up that reaches the blank after the
// keyword takes the whole run and leaves "Procedure(", which is no head.
bool IsUnnamedHead(std::string_view head) {
  constexpr std::string_view Keyword = "Procedure ";
  const size_t after_blanks = head.find_first_not_of(' ', Keyword.size());
  return head.substr(0, Keyword.size()) == Keyword && after_blanks != std::string_view::npos &&
         head[after_blanks] == '(';
}

}  // namespace

ProcedureBounds::ProcedureBounds(const ProjectText& text) {
  for (size_t line = 0; line < text.LineCount(); ++line) {
    const LineKind kind = text.CallKind(line);
    if (kind != LineKind::Head && kind != LineKind::End) continue;
    bounds_.push_back(line);
    is_head_.push_back(kind == LineKind::Head);
    if (kind != LineKind::Head) continue;
    heads_.push_back(line);
    has_unnamed_head_ = has_unnamed_head_ || IsUnnamedHead(PrepareCallLine(text.SourceLine(line)));
  }
}

bool ProcedureBounds::InsideAt(size_t line) const {
  const auto after = std::upper_bound(bounds_.begin(), bounds_.end(), line);
  return after != bounds_.begin() && is_head_[static_cast<size_t>(after - bounds_.begin()) - 1];
}

size_t ProcedureBounds::HeadBefore(size_t line, size_t file_first_line) const {
  const auto after = std::lower_bound(heads_.begin(), heads_.end(), line);
  if (after == heads_.begin() || after[-1] < file_first_line) return std::string::npos;
  return after[-1];
}
