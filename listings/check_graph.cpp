#include "listings/check_graph.h"

#include <string>

#include "listings/kept_text.h"
#include "listings/listing_rows.h"

namespace {

/// The project's text, read again unless the kept one still holds; nullptr when the host
/// stopped the reading, after the rows that say how far it got.
std::shared_ptr<const ProjectText> CheckText(Project& project, ResultList& list, ListingHost& host) {
  size_t read = 0;
  std::shared_ptr<const ProjectText> text = ReadKeptText(project, host, read);
  if (text == nullptr) {
    AddStoppedRows(list, "reading the files: " + std::to_string(read) + " of " +
                             std::to_string(project.SourceFiles.size()) + " read");
  }
  return text;
}

}  // namespace

// The whole graph of the text serves a few bodies' callers as well: their sites are the
// same in both.
ListingEnd ReadCheckGraph(Project& project, std::shared_ptr<const ProjectText>& text,
                          std::shared_ptr<const CallGraph>& graph, ResultList& list,
                          ListingHost& host, const std::vector<int32_t>* callers) {
  text = CheckText(project, list, host);
  if (text == nullptr) return ListingEnd::Stopped;
  if (project.CheckGraph != nullptr && project.CheckGraph->ProcedureCount() == project.Procedures.size()) {
    graph = project.CheckGraph;
    return ListingEnd::Finished;
  }
  auto built = std::make_shared<CallGraph>();
  const ListingEnd end = callers != nullptr ? built->BuildIn(*text, project, *callers, host)
                                            : built->Build(*text, project, host);
  if (end == ListingEnd::Stopped) {
    AddStoppedRows(list, "finding the calls: every file read");
    return end;
  }
  if (callers == nullptr) project.CheckGraph = built;
  graph = std::move(built);
  return end;
}

void AddStoppedRows(ResultList& list, const std::string& step) {
  AddSummaryRow(list, "stopped while " + step);
}
