// The Declare check. Every line gets its rank in compile order; a procedure's calls come
// from the call graph and its Declares from the Declare lines, both grouped by the module
// and the name with letter case folded, as the compiler matches names: a Declare in a
// Module or DeclareModule block declares that module's procedure.
#include "listings/declare_check.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "listings/address_taken.h"
#include "listings/call_graph.h"
#include "listings/check_graph.h"
#include "listings/call_matching.h"
#include "listings/declares.h"
#include "listings/listing_rows.h"
#include "listings/project_text.h"
#include "listings/signature.h"
#include "source/compile_order.h"
#include "source/line_classification.h"
#include "source/text_parts.h"

namespace {

/// Rank of a line that the compiler never reads: after every line it reads.
constexpr size_t Unread = std::numeric_limits<size_t>::max();

/// Each line's place in compile order (the first place of a file read twice), kept as the
/// runs of lines of each file that a read of it brings first: a look-up touches a few runs
/// of one file instead of a rank per line of the project.
class CompileRanks {
 public:
  CompileRanks(const ProjectText& text, const SourceFileList& files)
      : text_(text), runs_(text.Files().size()) {
    // A read of a file goes from its first line to its last, so what reads of a file have
    // brought is always its lines up to some line.
    std::vector<size_t> read_up_to(text.Files().size(), 0);
    size_t next = 0;
    for (const CompileSpan& span : CompileOrder(files)) {
      const ProjectFile& file = text.Files()[span.Entry];
      const auto first = static_cast<size_t>(span.FirstLine);
      const size_t last = std::min(static_cast<size_t>(span.LastLine), file.LineCount);
      if (last < first) continue;
      const size_t from = std::max(first, read_up_to[span.Entry] + 1);
      if (from <= last) {
        runs_[span.Entry].push_back({file.FirstLine + from - 1, file.FirstLine + last - 1, next + from - first});
        read_up_to[span.Entry] = last;
      }
      next += last - first + 1;
    }
  }

  /// The place of line `line` of file `file`; `Unread` for a line the compiler never reads.
  size_t Of(size_t file, size_t line) const {
    const std::vector<Run>& runs = runs_[file];
    const auto after = std::upper_bound(runs.begin(), runs.end(), line,
                                        [](size_t id, const Run& run) { return id < run.First; });
    if (after == runs.begin() || line > after[-1].Last) return Unread;
    return after[-1].Rank + (line - after[-1].First);
  }
  /// The place of line `line`.
  size_t Of(size_t line) const { return Of(text_.FileOf(line), line); }

 private:
  /// Lines `First` to `Last` (line ids) of a file, read in a row from rank `Rank` on.
  struct Run {
    size_t First = 0;
    size_t Last = 0;
    size_t Rank = 0;
  };

  const ProjectText& text_;
  std::vector<std::vector<Run>> runs_;
};

/// The heads and Declares of one name.
struct NameGroup {
  std::vector<int32_t> Heads;         ///< index entries whose head the text holds
  int32_t FirstHead = -1;             ///< the one read first
  size_t HeadRank = Unread;
  size_t DeclareRank = Unread;        ///< the first Declare's rank
};

/// One Declare line.
struct DeclareLine {
  size_t Line = 0;
  std::string Prepared;
  std::string Name;  ///< its group: folded module, "::", folded name
};

/// What the check found, with the row after it: the first early call, the head.
struct Finding {
  size_t File = 0;
  int32_t LineNumber = 0;
  std::string_view Reason;
  int32_t Procedure = -1;           ///< the procedure of a "missing" or "differs" finding
  const CallSite* Call = nullptr;   ///< the first early call of a "missing" one
  const DeclareLine* Declare = nullptr;
  std::string Difference;           ///< what differs, for a "differs" one
};

constexpr std::string_view Missing = "missing";
constexpr std::string_view Differs = "differs";
constexpr std::string_view Orphan = "orphan";

class DeclareCheck {
 public:
  DeclareCheck(const Project& project, const ProjectText& text, const CallGraph& graph)
      : procedures_(project.Procedures), text_(text), graph_(graph),
        ranks_(CompileRanks(text, project.SourceFiles)) {}

  /// Reads the heads and the graph's Declares; false when the host reported a stop.
  bool Gather(ListingHost& host) {
    for (size_t entry = 0; entry < procedures_.size(); ++entry) AddHead(static_cast<int32_t>(entry));
    for (const GraphDeclare& declare : graph_.Declares()) {
      AddDeclare(declare);
      if (host.PollStop()) return false;
    }
    return true;
  }

  /// The findings in file and line order.
  std::vector<Finding> Findings() const {
    std::vector<Finding> findings;
    for (const auto& [name, group] : groups_) AddMissing(group, findings);
    for (const DeclareLine& declare : declares_) AddDeclareFinding(declare, findings);
    std::sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
      return std::tie(a.File, a.LineNumber) < std::tie(b.File, b.LineNumber);
    });
    return findings;
  }

  /// Appends the rows of `finding`.
  void Write(const Finding& finding, ResultList& list) const {
    if (finding.Reason == Missing) {
      AddProcedureFinding(list, procedures_[static_cast<size_t>(finding.Procedure)], Missing);
      WriteCall(*finding.Call, list);
      return;
    }
    const std::string reason = finding.Reason == Differs
                                   ? std::string(Differs) + ": " + finding.Difference
                                   : std::string(finding.Reason);
    AddLineFinding(list, finding.LineNumber, finding.Declare->Prepared, reason,
                   {text_.Files()[finding.File].FileName, static_cast<uint32_t>(finding.File)});
    if (finding.Reason == Differs) WriteHead(finding.Procedure, list);
  }

 private:
  void AddHead(int32_t entry) {
    const size_t line = graph_.HeadLine(entry);
    if (line == std::string::npos) return;
    const ProcedureEntry& procedure = procedures_[static_cast<size_t>(entry)];
    NameGroup& group = groups_[GroupKey(FoldedName(procedure.Module), procedure.HeadText)];
    group.Heads.push_back(entry);
    const size_t rank = ranks_.Of(line);
    if (rank < group.HeadRank || group.FirstHead < 0) {
      group.HeadRank = rank;
      group.FirstHead = entry;
    }
  }

  void AddDeclare(const GraphDeclare& graph_declare) {
    const size_t line = graph_declare.Line;
    DeclareLine& declare = declares_.emplace_back();
    declare.Line = line;
    declare.Prepared = std::string(PrepareCallLine(text_.SourceLine(line)));
    declare.Name = GroupKey(graph_declare.Module, declare.Prepared);
    const auto group = groups_.find(declare.Name);
    if (group != groups_.end()) group->second.DeclareRank = std::min(group->second.DeclareRank, ranks_.Of(line));
  }

  // The first call read before the name's first head, unless a Declare is read before it.
  // A call in a Macro body is compiled where the macro is used, not where it is written.
  void AddMissing(const NameGroup& group, std::vector<Finding>& findings) const {
    const CallSite* first = nullptr;
    size_t first_rank = Unread;
    for (const int32_t entry : group.Heads) {
      for (const CallSite& site : graph_.SitesOf(entry)) {
        const size_t rank = site.InMacro ? Unread : ranks_.Of(site.File, site.Line);
        if (!site.InMacro && rank < group.HeadRank && (first == nullptr || rank < first_rank)) {
          first = &site;
          first_rank = rank;
        }
      }
    }
    if (first == nullptr || group.DeclareRank < first_rank) return;
    const size_t head = graph_.HeadLine(group.FirstHead);
    findings.push_back({text_.FileOf(head), text_.LineNumber(head), Missing, group.FirstHead, first, nullptr, {}});
  }

  // An orphan names no procedure; a Declare differs when no head of its name has its
  // signature.
  void AddDeclareFinding(const DeclareLine& declare, std::vector<Finding>& findings) const {
    Finding finding{text_.FileOf(declare.Line), text_.LineNumber(declare.Line), Orphan, -1, nullptr, &declare, {}};
    const auto group = groups_.find(declare.Name);
    if (group != groups_.end()) {
      const Signature signature = SignatureOf(declare.Prepared);
      for (const int32_t entry : group->second.Heads) {
        if (SignatureDifference(signature, HeadSignature(entry)).empty()) return;
      }
      finding.Reason = Differs;
      finding.Procedure = group->second.FirstHead;
      finding.Difference = SignatureDifference(signature, HeadSignature(group->second.FirstHead));
    }
    findings.push_back(std::move(finding));
  }

  /// The group of a head or Declare line `text` of `module` (folded, "" for none).
  static std::string GroupKey(std::string_view module, std::string_view text) {
    return std::string(module) + "::" + FoldedProcedureName(text);
  }

  Signature HeadSignature(int32_t entry) const {
    return SignatureOf(PrepareCallLine(text_.SourceLine(graph_.HeadLine(entry))));
  }

  std::string Label(int32_t procedure) const {
    if (procedure < 0) return std::string();
    const ProcedureEntry& entry = procedures_[static_cast<size_t>(procedure)];
    return HeadLabel(LabelStyle::Bare, entry.LineNumber, entry.HeadText);
  }

  void WriteCall(const CallSite& site, ResultList& list) const {
    const std::string key = CallKeyFromHead(procedures_[static_cast<size_t>(site.Callee)].HeadText);
    AddCallRow(list, site.LineNumber, NormalizeCallLine(text_.SourceLine(site.Line), key),
               site.OtherCase ? -1 : 1, Label(site.Caller),
               {text_.Files()[site.File].FileName, static_cast<uint32_t>(site.File)});
  }

  void WriteHead(int32_t procedure, ResultList& list) const {
    const ProcedureEntry& entry = procedures_[static_cast<size_t>(procedure)];
    AddCallRow(list, entry.LineNumber, entry.HeadText, 1, "", {entry.FileName, RowFileIndex(entry)});
  }

  const ProcedureIndex& procedures_;
  const ProjectText& text_;
  const CallGraph& graph_;
  const CompileRanks ranks_;
  std::unordered_map<std::string, NameGroup> groups_;
  std::deque<DeclareLine> declares_;  ///< findings point into it
};

std::string Summary(const std::vector<Finding>& findings) {
  std::string summary;
  for (const std::string_view reason : {Missing, Differs, Orphan}) {
    const auto count = std::count_if(findings.begin(), findings.end(),
                                     [&](const Finding& finding) { return finding.Reason == reason; });
    summary += (summary.empty() ? "" : ", ") + std::to_string(count) + " " + std::string(reason);
  }
  return summary;
}

}  // namespace

ListingResult ListDeclareCheck(Project& project, ResultList& list, ListingHost& host,
                               const ListingRequest&) {
  const StopEnabled stop(host);
  std::shared_ptr<const ProjectText> text;
  std::shared_ptr<const CallGraph> graph;
  if (ReadCheckGraph(project, text, graph, list, host) == ListingEnd::Stopped) {
    return EndedAs(ListingEnd::Stopped);
  }
  return ListDeclareCheckIn(project, *text, *graph, list, host);
}

ListingResult ListDeclareCheckIn(const Project& project, const ProjectText& text,
                                 const CallGraph& graph, ResultList& list, ListingHost& host) {
  DeclareCheck check(project, text, graph);
  if (!check.Gather(host)) {
    AddStoppedRows(list, "checking the Declares: every call found");
    return EndedAs(ListingEnd::Stopped);
  }
  DeclareCandidates missing;
  const std::vector<Finding> findings = check.Findings();
  for (const Finding& finding : findings) {
    check.Write(finding, list);
    if (finding.Reason != Missing) continue;
    const ProcedureEntry& entry = project.Procedures[static_cast<size_t>(finding.Procedure)];
    missing.push_back({entry.HeadText, entry.FileName});
  }
  AddSummaryRow(list, Summary(findings));
  ListingResult result;
  result.DeclareText = DeclaresText(missing);
  return result;
}
