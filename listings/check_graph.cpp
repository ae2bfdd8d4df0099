#include "listings/check_graph.h"

#include <string>

#include "listings/listing_rows.h"

ListingEnd ReadCheckGraph(Project& project, ProjectText& text, CallGraph& graph,
                          ResultList& list, ListingHost& host,
                          const std::vector<int32_t>* callers) {
  const std::string files = std::to_string(project.SourceFiles.size());
  if (text.Load(project.SourceFiles, project.Texts, host) == ListingEnd::Stopped) {
    // The file being read when the stop came is the last one the text holds.
    const size_t read = text.Files().empty() ? 0 : text.Files().size() - 1;
    AddStoppedRows(list, "reading the files: " + std::to_string(read) + " of " + files + " read");
    return ListingEnd::Stopped;
  }
  const ListingEnd end = callers != nullptr
                             ? graph.BuildIn(text, project, *callers, host)
                             : graph.Build(text, project, host);
  if (end == ListingEnd::Stopped) {
    AddStoppedRows(list, "finding the calls: every file read");
  }
  return end;
}

void AddStoppedRows(ResultList& list, const std::string& step) {
  AddSummaryRow(list, "stopped while " + step);
}
