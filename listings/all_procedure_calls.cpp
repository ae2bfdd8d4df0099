// The procedure-call listing. The files are read once per run and kept in memory; the
// calls of each procedure are then looked for only on the lines that can hold them, with
// the rows, labels and inside flags that a pass over every file per procedure would give.
#include "listings/all_procedure_calls.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/declares.h"
#include "listings/listing_rows.h"
#include "listings/project_text.h"
#include "source/line_classification.h"

namespace {

/// The calls of a key that several procedures share with the same target (real code has
/// many "Procedure..." variables whose keys are alike, such as "=0("): they are found
/// once, kept, and handed again to each further procedure of the key until the last.
class SharedKeyCalls {
 public:
  explicit SharedKeyCalls(const ProcedureIndex& procedures) {
    for (const ProcedureEntry& entry : procedures) ++kept_[Identity(entry)].Left;
    for (auto kept = kept_.begin(); kept != kept_.end();) {
      kept = kept->second.Left > 1 ? std::next(kept) : kept_.erase(kept);
    }
  }

  /// As `ProcedureCallSearch::FindCalls` for the key and target of `entry`.
  bool Find(const ProcedureCallSearch& search, const ProcedureEntry& entry, ListingHost& host,
            const CallHitHandler& on_hit) {
    const std::string key = CallKeyFromHead(entry.HeadText);
    const auto shared = kept_.find(Identity(entry));
    if (shared == kept_.end()) return search.FindCalls(key, TargetOf(entry), host, on_hit);
    Kept& kept = shared->second;
    if (kept.Found) {
      for (size_t hit = 0; hit < kept.Hits.size(); ++hit) {
        kept.Hits[hit].Prepared = kept.Prepared[hit];
        on_hit(kept.Hits[hit]);
      }
    } else if (search.FindCalls(key, TargetOf(entry), host, [&](const CallHit& hit) {
                 kept.Hits.push_back(hit);
                 kept.Prepared.emplace_back(hit.Prepared);
                 on_hit(hit);
               })) {
      return true;
    }
    kept.Found = true;
    if (--kept.Left == 0) kept_.erase(shared);
    return false;
  }

 private:
  struct Kept {
    size_t Left = 0;  ///< procedures of the key still to be listed
    bool Found = false;
    std::vector<CallHit> Hits;
    std::vector<std::string> Prepared;  ///< the hits' prepared lines, which they view
  };

  static std::string Identity(const ProcedureEntry& entry) {
    return CallKeyFromHead(entry.HeadText) + '\n' + TargetOf(entry).Module;
  }

  std::unordered_map<std::string, Kept> kept_;
};

/// Lists every procedure of the project and collects the ones called above their head
/// into `candidates`; returns true when the user stopped the run.
bool ListEveryProcedure(const Project& project, ResultList& list, ListingHost& host,
                        DeclareCandidates& candidates) {
  const StopEnabled stop(host);
  if (project.Procedures.empty()) return false;
  // The first procedure's row comes before the text is read and indexed, as in a pass
  // per procedure: a stop meanwhile leaves it without a count and adds no row after
  // "Abbruch!".
  const int32_t first_row = AddProcedureRow(list, project.Procedures.front());
  ProjectText text;
  if (text.Load(project.SourceFiles, project.Texts, host) == ListingEnd::Stopped) return true;
  ProcedureCallSearch search(text, project.Procedures);
  if (!search.Index(host)) return true;
  SharedKeyCalls shared(project.Procedures);
  for (const ProcedureEntry& entry : project.Procedures) {
    ProcedureTally tally;
    const int32_t procedure_row =
        &entry == &project.Procedures.front() ? first_row : AddProcedureRow(list, entry);
    const auto add_call = [&](const CallHit& hit) {
      const bool declare_line = IsDeclareLine(text.SourceLine(hit.Line));
      AddCallRow(list, hit.LineNumber, hit.Prepared, hit.Found, hit.Label,
                 {text.Files()[hit.File].FileName, static_cast<uint32_t>(hit.File)},
                 (declare_line ? RowMarks(RowMark::DeclareLine) : RowMarks()) |
                     AmbiguityMark(hit.Ambiguous));
      TallyCall(tally, declare_line, hit.LineNumber, entry.LineNumber);
    };
    // The stopped procedure keeps no count, marks or closing row.
    if (host.PollStop() || shared.Find(search, entry, host, add_call)) return true;
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
