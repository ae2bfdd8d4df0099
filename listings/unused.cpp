// Unused procedures. Which procedures are live is a reachability question over the call
// graph: the roots are the callees of calls outside every listed body and the entry
// points; everything a live procedure calls is live. What is left is unused, also a group
// of procedures that only call each other. A call in a Macro body is main code's: the
// macro may be used anywhere.
#include "listings/unused.h"

#include <string>
#include <string_view>
#include <vector>

#include "listings/call_graph.h"
#include "listings/check_graph.h"
#include "listings/check_lines.h"
#include "listings/listing_rows.h"
#include "listings/project_text.h"

namespace {

constexpr std::string_view NeverCalled = "never called";
constexpr std::string_view OnlyCalledByUnused = "only called by unused";

/// True for a ProcedureDLL or ProcedureCDLL head: the program's callers outside it call it.
bool IsDllHead(std::string_view head) {
  for (const std::string_view keyword : {"ProcedureDLL", "ProcedureCDLL"}) {
    const char after = head.size() > keyword.size() ? head[keyword.size()] : '\0';
    if (head.substr(0, keyword.size()) == keyword && (after == ' ' || after == '.')) return true;
  }
  return false;
}

/// Per procedure of the index, whether live code reaches it.
std::vector<bool> LiveProcedures(const ProcedureIndex& procedures, const CallGraph& graph) {
  std::vector<bool> live(procedures.size(), false);
  std::vector<int32_t> to_visit;
  const auto reach = [&](int32_t procedure) {
    if (live[static_cast<size_t>(procedure)]) return;
    live[static_cast<size_t>(procedure)] = true;
    to_visit.push_back(procedure);
  };
  for (size_t entry = 0; entry < procedures.size(); ++entry) {
    const ProcedureEntry& procedure = procedures[entry];
    if (procedure.AddressTaken || IsDllHead(procedure.HeadText)) reach(static_cast<int32_t>(entry));
  }
  // Main code, and a body whose head the index does not list, cannot be judged unused.
  for (const CallSite& site : graph.Sites()) {
    if (site.Caller < 0) reach(site.Callee);
  }
  while (!to_visit.empty()) {
    const int32_t caller = to_visit.back();
    to_visit.pop_back();
    for (const int32_t callee : graph.CalleesIn(caller)) reach(callee);
  }
  return live;
}

/// The reason why `procedure`, which no live code reaches, is unused.
std::string_view UnusedReason(const CallGraph& graph, int32_t procedure) {
  for (const CallSite& site : graph.SitesOf(procedure)) {
    if (!site.IsSelfCall()) return OnlyCalledByUnused;
  }
  return NeverCalled;
}

}  // namespace

ListingResult ListUnused(Project& project, ResultList& list, ListingHost& host,
                         const ListingRequest&) {
  const StopEnabled stop(host);
  std::shared_ptr<const ProjectText> text;
  std::shared_ptr<const CallGraph> graph;
  if (ReadCheckGraph(project, text, graph, list, host) == ListingEnd::Stopped) {
    return EndedAs(ListingEnd::Stopped);
  }
  return ListUnusedIn(project, *graph, list);
}

ListingResult ListUnusedIn(const Project& project, const CallGraph& graph, ResultList& list) {
  const std::vector<bool> live = LiveProcedures(project.Procedures, graph);
  int32_t never_called = 0;
  int32_t only_by_unused = 0;
  for (size_t entry = 0; entry < live.size(); ++entry) {
    // An entry that is no real head (a variable named "Procedure...") is no procedure.
    if (live[entry] || !IsRealProcedureHead(project.Procedures[entry].HeadText)) continue;
    const std::string_view reason = UnusedReason(graph, static_cast<int32_t>(entry));
    ++(reason == NeverCalled ? never_called : only_by_unused);
    AddProcedureFinding(list, project.Procedures[entry], reason,
                        reason == NeverCalled ? RowMarks(RowMark::NeverCalled) : RowMarks());
  }
  AddSummaryRow(list, std::to_string(never_called) + " " + std::string(NeverCalled) + ", " +
                          std::to_string(only_by_unused) + " " + std::string(OnlyCalledByUnused));
  return {};
}
