#include "lsp/workspace.h"

#include <algorithm>

#include "listings/take_up.h"
#include "source/file_system.h"
#include "source/ide_project_file.h"
#include "source/path_parts.h"
#include "source/recorded_main_file.h"

namespace {

/// The project files (.pbp) in `folder`, sorted.
std::vector<std::string> ProjectFilesIn(const std::string& folder) {
  std::vector<std::string> found;
  if (folder.empty()) return found;
  for (const std::string& name : FolderEntries(folder).value_or(std::vector<std::string>())) {
    if (IsIdeProjectPath(name)) found.push_back(AbsolutePath(folder, name));
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

void Workspace::Configure(const std::string& root, const std::string& main_file) {
  root_ = root;
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  main_option_ = main_file.empty() || root_.empty() ? main_file : AbsolutePath(root_, main_file);
  if (!main_option_.empty()) main_option_ = MainFileOfGiven(main_option_).Path;
}

void Workspace::SetDocument(const std::string& path, std::string text, bool in_place) {
  for (auto& [main, project] : projects_) {
    project->State.Texts.SetEditorBytes(path, text);
    if (ProjectFileIndex(project->State, path) < 0) continue;  // another project's file
    project->Stale = project->Stale || !in_place;
    project->Runs.clear();
  }
  documents_[path] = std::move(text);
}

const std::string* Workspace::DocumentText(const std::string& path) const {
  const auto open = documents_.find(path);
  return open == documents_.end() ? nullptr : &open->second;
}

void Workspace::CloseDocument(const std::string& path) {
  if (documents_.erase(path) == 0) return;
  for (auto& [main, project] : projects_) {
    project->State.Texts.DropEditorBytes(path);
    project->Stale = true;
  }
}

std::vector<std::string> Workspace::Documents() const {
  std::vector<std::string> paths;
  for (const auto& [path, text] : documents_) paths.push_back(path);
  return paths;
}

std::string Workspace::MainFileFor(const std::string& path) const {
  if (!main_option_.empty()) return main_option_;
  if (std::optional<std::string> recorded = UseMainFileOf(path)) return *recorded;
  const std::vector<std::string> project_files = ProjectFilesIn(root_);
  for (const std::string& project_file : project_files) {
    if (std::optional<std::string> main = ProjectMainFileOf(project_file, path)) return *main;
  }
  if (project_files.size() == 1) {
    const MainFileChoice choice = MainFileOfGiven(project_files.front());
    if (!choice.Path.empty()) return choice.Path;
  }
  return path;
}

ServedProject* Workspace::ProjectOf(const std::string& path, ListingHost& host) {
  for (auto& [main, project] : projects_) {
    if (ProjectFileIndex(project->State, path) >= 0) return Refreshed(*project, host);
  }
  const std::string main_file = MainFileFor(path);
  std::unique_ptr<ServedProject>& project = projects_[main_file];
  if (!project) {
    project = std::make_unique<ServedProject>();
    project->State.MainFile = main_file;
    for (const auto& [open, text] : documents_) project->State.Texts.SetEditorBytes(open, text);
  }
  return Refreshed(*project, host);
}

std::vector<ServedProject*> Workspace::CurrentProjects(ListingHost& host) {
  std::vector<ServedProject*> current;
  for (auto& [main, project] : projects_) {
    if (ServedProject* refreshed = Refreshed(*project, host)) current.push_back(refreshed);
  }
  return current;
}

// The cache of texts reads only the files that changed; a stopped take-up is taken up
// again at the next request.
ServedProject* Workspace::Refreshed(ServedProject& project, ListingHost& host) {
  const bool changed = project.State.Texts.DropChanged();
  if (!project.Stale && !changed && project.Procedures) return &project;
  project.Procedures = std::make_unique<ResultList>(ListKind::Procedures, "Procedures");
  project.Runs.clear();
  project.Stale = TakeUpAgain(project.State, *project.Procedures, host) == ListingEnd::Stopped;
  return project.Stale ? nullptr : &project;
}

int32_t ProjectFileIndex(const Project& project, const std::string& path) {
  const SourceFileList& files = project.SourceFiles;
  for (size_t file = 0; file < files.size(); ++file) {
    if (files[file].Path == path) return static_cast<int32_t>(file);
  }
  const FileIdentity identity = IdentityOf(path);
  if (!identity.Valid) return -1;
  for (size_t file = 0; file < files.size(); ++file) {
    if (IdentityOf(files[file].Path).SameFile(identity)) return static_cast<int32_t>(file);
  }
  return -1;
}
