#include "listings/check_graph.h"

#include <string>

#include "listings/listing_rows.h"
#include "source/path_parts.h"

namespace {

/// True when `text` was read from the files of `project` as its texts give them now: the
/// same files, each the very buffer that the text holds (which nobody can have changed),
/// or none for a file that does not open.
bool StillTheText(const ProjectText& text, const Project& project) {
  const SourceFileList& files = project.SourceFiles;
  if (text.Files().size() != files.size()) return false;
  for (size_t file = 0; file < files.size(); ++file) {
    const ProjectFile& read = text.Files()[file];
    const std::shared_ptr<const std::string> bytes = project.Texts.Bytes(files[file].Path);
    if (read.FileName != FileNamePart(files[file].Path) || read.Opened != (bytes != nullptr)) return false;
    if (bytes != nullptr && bytes->data() != read.Bytes.data()) return false;
  }
  return true;
}

/// The project's text, read again unless the last check's still holds; nullptr when the
/// host stopped the reading, after the rows that say how far it got.
std::shared_ptr<const ProjectText> CheckText(Project& project, ResultList& list, ListingHost& host) {
  if (project.CheckText != nullptr && StillTheText(*project.CheckText, project)) return project.CheckText;
  project.CheckText.reset();
  project.CheckGraph.reset();
  auto text = std::make_shared<ProjectText>();
  if (text->Load(project.SourceFiles, project.Texts, host) == ListingEnd::Stopped) {
    // The file being read when the stop came is the last one the text holds.
    const size_t read = text->Files().empty() ? 0 : text->Files().size() - 1;
    AddStoppedRows(list, "reading the files: " + std::to_string(read) + " of " +
                             std::to_string(project.SourceFiles.size()) + " read");
    return nullptr;
  }
  project.CheckText = text;
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
