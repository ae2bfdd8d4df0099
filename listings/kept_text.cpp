#include "listings/kept_text.h"

#include <string>

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

}  // namespace

TextRead ReadProjectText(Project& project, ListingHost& host) {
  if (project.KeptText != nullptr && StillTheText(*project.KeptText, project)) {
    return {project.KeptText, false, ListingEnd::Finished};
  }
  project.KeptText.reset();
  project.KeptScope.reset();
  project.CheckGraph.reset();
  auto text = std::make_shared<ProjectText>();
  const ListingEnd end = text->Load(project.SourceFiles, project.Texts, host);
  if (end == ListingEnd::Finished) project.KeptText = text;
  return {text, true, end};
}

std::shared_ptr<const ProjectText> ReadKeptText(Project& project, ListingHost& host, size_t& read) {
  read = project.SourceFiles.size();
  TextRead text = ReadProjectText(project, host);
  if (text.End == ListingEnd::Stopped) {
    // The file being read when the stop came is the last one the text holds.
    read = text.Text->Files().empty() ? 0 : text.Text->Files().size() - 1;
    return nullptr;
  }
  return text.Text;
}

std::shared_ptr<const ModuleScope> ReadKeptScope(Project& project,
                                                 const std::shared_ptr<const ProjectText>& text) {
  if (project.KeptScope != nullptr && &project.KeptScope->Text() == text.get()) return project.KeptScope;
  project.KeptScope = std::make_shared<ModuleScope>(*text, project.Procedures);
  return project.KeptScope;
}
