// Where the calls of a procedure can stand. A call of a name made of letters, digits and
// "_" needs that name, letters folded, as a whole word followed by blanks and "(" in the
// line prepared without the key, so one sweep over the project finds every candidate
// line of every procedure at once.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "listings/project.h"
#include "listings/project_text.h"

/// The name part of a call key: the key without its closing "(".
std::string_view CallKeyName(std::string_view key);

/// True when `name` is not empty and holds only A-Z, a-z, 0-9 and "_".
bool IsIdentifierName(std::string_view name);

/// True when closing up blanks for `key` can turn a head line into a non-head: only a
/// name that ends "Procedure" (the empty name too) can close up "Procedure (x)".
bool CloseUpCanUnmakeHead(std::string_view key);

/// The candidate lines of every procedure of an index whose name is an identifier.
class CallCandidates {
 public:
  /// Sweeps the lines of `text` that a call search looks at (all but heads).
  CallCandidates(const ProjectText& text, const ProcedureIndex& procedures);

  /// Ascending ids of the lines that may call `name` (an identifier name of one of the
  /// procedures); empty for any other name.
  const std::vector<size_t>& LinesFor(std::string_view name) const;

 private:
  void AddLine(std::string_view prepared, size_t line);
  void AddWord(std::string_view word, size_t line);

  std::unordered_map<std::string, std::vector<size_t>> lines_by_name_;  ///< folded names
  std::string folded_;  ///< scratch for folding one word
};
