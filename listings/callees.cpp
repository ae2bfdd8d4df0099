// The callees listing reads the call graph of the heads' bodies only (so a run costs one
// read of the project and a look at those bodies): the calls whose enclosing procedure is
// the head, each shown as the procedure-call listing shows it under its callee.
#include "listings/callees.h"

#include <string>
#include <vector>

#include "listings/call_graph.h"
#include "listings/call_matching.h"
#include "listings/check_graph.h"
#include "listings/listing_rows.h"
#include "listings/project_text.h"
#include "source/line_classification.h"

namespace {

/// The callee's label: its head's line and text, and its file after `CalleeFileMark` when
/// that is not the file of the call, which the row's "in File" names.
std::string CalleeLabel(const ProcedureEntry& callee, const CallSite& site) {
  std::string label = ProcLabel(callee.LineNumber, callee.HeadText);
  if (callee.File != static_cast<int32_t>(site.File)) {
    label += CalleeFileMark;
    label += callee.FileName;
  }
  return label;
}

/// Appends the row of one call: the line as prepared for its callee's key, the callee's
/// label, and the marks of its call row in the procedure-call listing, the callee's when the
/// call stands above its head.
void AddCalleeRow(ResultList& list, const ProjectText& text, const ProcedureIndex& procedures,
                  const CallSite& site) {
  const ProcedureEntry& callee = procedures[static_cast<size_t>(site.Callee)];
  const std::string key = CallKeyFromHead(callee.HeadText);
  // Line numbers are compared as they are, whichever files they belong to.
  const RowMarks above = site.LineNumber < callee.LineNumber ? RowMarks(RowMark::CalledAboveHead)
                                                             : RowMarks();
  AddCallRow(list, site.LineNumber, NormalizeCallLine(text.SourceLine(site.Line), key),
             site.OtherCase ? -1 : 1, CalleeLabel(callee, site),
             {text.Files()[site.File].FileName, static_cast<uint32_t>(site.File)},
             above | AmbiguityMark(site.Ambiguous));
}

}  // namespace

ListingResult ListCallees(Project& project, ResultList& list, ListingHost& host,
                          const ListingRequest& request) {
  const StopEnabled stop(host);
  const std::vector<int32_t> heads =
      HeadsNamed(project.Procedures, request.Text, request.WithoutModule);
  std::shared_ptr<const ProjectText> text;
  std::shared_ptr<const CallGraph> graph;
  if (ReadCheckGraph(project, text, graph, list, host, &heads) == ListingEnd::Stopped) {
    return EndedAs(ListingEnd::Stopped);
  }
  bool first_head = true;
  for (const int32_t head : heads) {
    if (!first_head) list.AddResultRow("", RowMark::Separator);
    first_head = false;
    for (const CallSite* site : graph->SitesIn(head)) {
      AddCalleeRow(list, *text, project.Procedures, *site);
    }
  }
  return {};
}
