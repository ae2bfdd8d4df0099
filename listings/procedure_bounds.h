// The procedure head and end lines of a project text. The inside flag and the label that
// the enclosing-procedure tracking holds at a line depend only on these lines before it,
// so they can be looked up for a few lines without tracking every line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "listings/project_text.h"

/// Head and end lines by their kind after `PrepareCallLine`.
class ProcedureBounds {
 public:
  explicit ProcedureBounds(const ProjectText& text);

  /// The inside flag once line `line` is tracked: set after a head, clear after an end,
  /// clear when no head or end line is at or before `line`.
  bool InsideAt(size_t line) const;
  /// Id of the last head line before `line` and at or after `file_first_line` (the
  /// label is emptied at each file start); npos when there is none.
  size_t HeadBefore(size_t line, size_t file_first_line) const;
  /// True when a head has no name: "Procedure", blanks, then "(". Only such a head can be
  /// unmade by closing up blanks for a key (see `CloseUpCanUnmakeHead`).
  bool HasUnnamedHead() const { return has_unnamed_head_; }

 private:
  std::vector<size_t> bounds_;  ///< head and end lines, ascending
  std::vector<bool> is_head_;   ///< per entry of `bounds_`
  std::vector<size_t> heads_;   ///< head lines, ascending
  bool has_unnamed_head_ = false;
};
