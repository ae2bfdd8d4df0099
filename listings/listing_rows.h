// The rows that the call and term listings write: one place for their texts and colours,
// shared by the fast listings and the straightforward ones the tests check them against.
#pragma once

#include <cstdint>
#include <string_view>

#include "listings/project.h"
#include "listings/result_list.h"
#include "listings/term_matching.h"

/// What the procedure-call listing has found so far for one procedure.
struct ProcedureTally {
  int32_t Calls = 0;
  bool CalledAboveHead = false;
};

/// Appends the grey procedure row of `entry` and remembers it as the list's `ProcedureRow`.
void AddProcedureRow(ResultList& list, const ProcedureEntry& entry);

/// Appends the row of one call; red text when it was `found` only in another letter case.
/// Returns the row's index.
int32_t AddCallRow(ResultList& list, int32_t line_number, std::string_view line, int found,
                   std::string_view label, std::string_view file_name);

/// Closes a finished procedure: closing row, count, never-called and early-call marks, and
/// its Declare candidate.
void FinishProcedure(Project& project, ResultList& list, const ProcedureEntry& entry,
                     const ProcedureTally& tally);

/// Appends the row of one line in which the term search found its term. `inside` and
/// `label` describe the enclosing procedure; `band` chooses the file's background.
void AddMatchRow(ResultList& list, int32_t line_number, std::string_view line,
                 const TermMatch& match, bool inside, std::string_view label,
                 std::string_view file_name, bool band);
