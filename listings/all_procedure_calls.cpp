// The procedure-call listing. Every file is read again for every procedure; nothing is
// cached, so the work is the number of procedures times the lines of the project.
#include "listings/all_procedure_calls.h"

#include <string>

#include "listings/call_matching.h"
#include "listings/declares.h"
#include "listings/row_colours.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/source_reader.h"

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

}  // namespace

bool ListAllProcedureCalls(Project& project, ResultList& list, ListingHost& host) {
  host.SetStopEnabled(true);
  project.Candidates.clear();
  // The inside flag lives for the whole run: a file that ends inside a procedure body
  // leaves it set for the next file and for the next procedure.
  EnclosingProcedure enclosing(LabelStyle::Bare);
  bool stopped = false;
  SourceReader reader;
  for (const ProcedureEntry& entry : project.Procedures) {
    ProcedureTally tally;
    AddProcedureRow(list, entry);
    const std::string key = CallKeyFromHead(entry.HeadText);
    for (const SourceFile& file : project.SourceFiles) {
      enclosing.StartFile();
      if (!reader.Open(file.Path)) continue;
      const std::string_view file_name = FileNamePart(file.Path);
      for (int32_t line_number = 1; !reader.AtEnd(); ++line_number) {
        const std::string line = NormalizeCallLine(ReadSourceLine(reader), key);
        if (!IsCommentLine(line) && !enclosing.Track(line, line_number)) {
          const int found = FindCall(line, key);
          if (found != 0) {
            AddCallRow(list, line_number, line, found, enclosing.CurrentLabel(), file_name);
            ++tally.Calls;
            // Line numbers are compared as they are, whichever files they belong to.
            if (line_number < entry.LineNumber) tally.CalledAboveHead = true;
          }
        }
        if (host.PollStop()) {
          stopped = true;
          break;
        }
      }
      reader.Close();
      if (stopped) break;
    }
    if (stopped) break;  // the stopped procedure keeps no count, marks or closing row
    FinishProcedure(project, list, entry, tally);
  }
  host.SetStopEnabled(false);
  BuildDeclares(project.Candidates, host);
  return stopped;
}
