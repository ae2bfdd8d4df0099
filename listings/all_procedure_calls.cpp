// The procedure-call listing. The files are read once per run and kept in memory; the
// calls of each procedure are then looked for only on the lines that can hold them, with
// the rows, labels and inside flags that a pass over every file per procedure would give.
#include "listings/all_procedure_calls.h"

#include <string>

#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/declares.h"
#include "listings/project_text.h"
#include "listings/row_colours.h"

namespace {

/// What one procedure's pass over the files has found so far.
struct ProcedureTally {
  int32_t Calls = 0;
  bool CalledAboveHead = false;
};

/// Appends the grey procedure row of `entry` and remembers it as the list's `ProcedureRow`.
void AddProcedureRow(ResultList& list, const ProcedureEntry& entry) {
  list.AddResultRow(std::to_string(entry.LineNumber) + "\n" + entry.HeadText);
  list.ProcedureRow = list.RowCount() - 1;
  list.SetCellText(list.ProcedureRow, ColumnFile, entry.FileName);
  list.SetRowBackground(list.ProcedureRow, ProcedureRowBackground);
}

/// Appends the row of one call.
void AddCallRow(ResultList& list, int32_t line_number, const std::string& line, int found,
                std::string_view label, std::string_view file_name) {
  list.AddResultRow(std::to_string(line_number) + "\n" + line);
  const int32_t row = list.RowCount() - 1;
  list.SetCellText(row, ColumnFunction, label);
  list.SetCellText(row, ColumnFile, file_name);
  if (found < 0) list.SetCellTextColour(row, ColumnCalls, MarkRed);
}

/// Closes a finished procedure: closing row, count, never-called and early-call marks.
void FinishProcedure(Project& project, ResultList& list, const ProcedureEntry& entry,
                     const ProcedureTally& tally) {
  list.AddUnselectedEmptyRow();
  list.SetCellText(list.ProcedureRow, ColumnCount, std::to_string(tally.Calls));
  if (tally.Calls == 0) list.SetRowBackground(list.ProcedureRow, NeverCalledBackground);
  if (tally.CalledAboveHead) {
    list.SetCellBackground(list.ProcedureRow, ColumnLine, MarkRed);
    project.Candidates.push_back({entry.HeadText, entry.FileName});
  }
}

/// Lists every procedure of the project; returns true when the user stopped the run.
bool ListEveryProcedure(Project& project, ResultList& list, ListingHost& host) {
  if (project.Procedures.empty()) return false;
  ProjectText text;
  if (!text.Load(project.SourceFiles, host)) {
    // As a stop on the first procedure's first line: its row stays, without a count.
    AddProcedureRow(list, project.Procedures.front());
    return true;
  }
  const ProcedureCallSearch search(text, project.Procedures);
  for (const ProcedureEntry& entry : project.Procedures) {
    ProcedureTally tally;
    AddProcedureRow(list, entry);
    const auto add_call = [&](const CallHit& hit) {
      AddCallRow(list, hit.LineNumber, hit.Prepared, hit.Found, hit.Label,
                 text.Files()[hit.File].FileName);
      ++tally.Calls;
      // Line numbers are compared as they are, whichever files they belong to.
      if (hit.LineNumber < entry.LineNumber) tally.CalledAboveHead = true;
    };
    const std::string key = CallKeyFromHead(entry.HeadText);
    // The stopped procedure keeps no count, marks or closing row.
    if (host.PollStop() || search.FindCalls(key, host, add_call)) return true;
    FinishProcedure(project, list, entry, tally);
  }
  return false;
}

}  // namespace

bool ListAllProcedureCalls(Project& project, ResultList& list, ListingHost& host) {
  host.SetStopEnabled(true);
  project.Candidates.clear();
  const bool stopped = ListEveryProcedure(project, list, host);
  host.SetStopEnabled(false);
  BuildDeclares(project.Candidates, host);
  return stopped;
}
