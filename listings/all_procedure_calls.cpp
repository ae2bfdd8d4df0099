// The procedure-call listing. The files' text is the one kept since the take-up (read
// again when a file changed); the calls of every procedure are then found in one pass over
// the lines (`CallSweep`), with the rows, labels and inside flags that a pass over every
// file per procedure would give.
#include "listings/all_procedure_calls.h"

#include <string>

#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/call_sweep.h"
#include "listings/declares.h"
#include "listings/kept_text.h"
#include "listings/listing_rows.h"
#include "listings/project_text.h"

namespace {

/// Lists every procedure of the project and collects the ones called above their head
/// into `candidates`; returns true when the user stopped the run.
bool ListEveryProcedure(Project& project, ResultList& list, ListingHost& host,
                        DeclareCandidates& candidates) {
  const StopEnabled stop(host);
  if (project.Procedures.empty()) return false;
  // The first procedure's row comes before the text is read and indexed, as in a pass
  // per procedure: a stop meanwhile leaves it without a count and adds no row after
  // "Abbruch!".
  const int32_t first_row = AddProcedureRow(list, project.Procedures.front());
  const TextRead read = ReadProjectText(project, host);
  if (read.End == ListingEnd::Stopped) return true;
  const ProjectText& text = *read.Text;
  // The call rows view their lines in the files' bytes rather than copy them.
  list.HoldBytes(text.HeldBytes());
  const ProcedureCallSearch search(text, project.Procedures);
  CallSweep sweep(search, text, EntryKeys(project.Procedures));
  if (!sweep.Sweep(host)) return true;
  list.HoldBytes({sweep.LabelBytes()});
  // A row per call, and per procedure its own and a closing one (the first is there).
  list.ReserveRows(sweep.CallCount() + 2 * project.Procedures.size());
  for (size_t index = 0; index < project.Procedures.size(); ++index) {
    const ProcedureEntry& entry = project.Procedures[index];
    ProcedureTally tally;
    const int32_t procedure_row =
        &entry == &project.Procedures.front() ? first_row : AddProcedureRow(list, entry);
    const auto add_call = [&](const CallHit& hit) {
      const bool declare_line = text.IsDeclare(hit.Line);
      AddCallRow(list, hit.LineNumber, hit.Prepared, hit.Found, hit.Label,
                 {text.Files()[hit.File].FileName, static_cast<uint32_t>(hit.File)},
                 (declare_line ? RowMarks(RowMark::DeclareLine) : RowMarks()) |
                     AmbiguityMark(hit.Ambiguous));
      TallyCall(tally, declare_line, hit.LineNumber, entry.LineNumber);
    };
    // The stopped procedure keeps no count, marks or closing row.
    if (host.PollStop() || sweep.Calls(index, host, add_call)) return true;
    FinishProcedure(list, procedure_row, tally);
    if (NeedsDeclare(tally)) candidates.push_back({entry.HeadText, entry.FileName});
  }
  return false;
}

}  // namespace

ListingResult ListAllProcedureCalls(Project& project, ResultList& list, ListingHost& host,
                                    const ListingRequest&) {
  project.Candidates.clear();
  ListingResult result;
  if (ListEveryProcedure(project, list, host, project.Candidates)) result.End = ListingEnd::Stopped;
  result.DeclareText = DeclaresText(project.Candidates);
  return result;
}
