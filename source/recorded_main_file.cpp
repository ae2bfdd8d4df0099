#include "source/recorded_main_file.h"

#include <cstdlib>
#include <string_view>
#include <utility>

#include "source/file_system.h"
#include "source/ide_project_file.h"
#include "source/path_on_disk.h"
#include "source/path_parts.h"
#include "source/source_reader.h"

namespace {

constexpr std::string_view kOptionsStart = "; IDE Options = ";
constexpr std::string_view kUseMainFile = "; UseMainFile = ";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// `path` as it stands when absolute, else under `folder` (which ends in "/" or is empty).
std::string FromFolder(std::string_view folder, std::string_view path) {
  if (!path.empty() && path.front() == '/') return std::string(path);
  return std::string(folder) + std::string(path);
}

// The regular file that `path`, read from a source or project file, names on disk.
std::optional<std::string> FileOnDisk(const std::string& path, FolderListings& listings) {
  return FindOnDisk(path, PathKind::File, listings);
}

// The UseMainFile value of the options block that ends the file: the block begins at its
// last "; IDE Options = " line, and only comment lines and empty lines may follow it.
std::optional<std::string> UseMainFileValue(SourceReader& reader) {
  bool in_block = false;
  std::optional<std::string> value;
  std::string buffer;
  while (!reader.AtEnd()) {
    const std::string_view line = ReadSourceLineInto(reader, buffer);
    if (StartsWith(line, kOptionsStart)) {
      in_block = true;
      value.reset();
    } else if (!line.empty() && line.front() != ';') {
      in_block = false;
      value.reset();
    } else if (in_block && StartsWith(line, kUseMainFile)) {
      std::string_view path = line.substr(kUseMainFile.size());
      while (!path.empty() && (path.back() == ' ' || path.back() == '\t')) path.remove_suffix(1);
      value = std::string(path);
    }
  }
  return value;
}

}  // namespace

std::optional<std::string> UseMainFileOf(const std::string& file) {
  SourceReader reader;
  if (!reader.Open(file)) return std::nullopt;
  const std::optional<std::string> value = UseMainFileValue(reader);
  if (!value || value->empty()) return std::nullopt;
  FolderListings listings;
  return FileOnDisk(FromFolder(DirectoryPart(file), *value), listings);
}

std::optional<std::string> ProjectMainFileOf(const std::string& project_file,
                                             const std::string& file) {
  const std::optional<IdeProject> project = ReadIdeProject(project_file);
  const std::string input = project ? MainTargetInput(*project) : std::string();
  if (input.empty()) return std::nullopt;
  const std::string_view folder = DirectoryPart(project_file);
  const FileIdentity tab = IdentityOf(file);
  FolderListings listings;
  for (const std::string& listed : project->Files) {
    const auto on_disk = FileOnDisk(FromFolder(folder, listed), listings);
    if (on_disk && IdentityOf(*on_disk).SameFile(tab)) {
      return FileOnDisk(FromFolder(folder, input), listings);
    }
  }
  return std::nullopt;
}

std::string_view MainFileOriginText(MainFileOrigin origin) {
  switch (origin) {
    case MainFileOrigin::UseMainFile: return "its UseMainFile option";
    case MainFileOrigin::IdeProject: return "the IDE project";
    case MainFileOrigin::ProjectFile: return "the project file";
    case MainFileOrigin::Tab: return "the tab itself: no main file is recorded for it";
    case MainFileOrigin::Given: break;
  }
  return "given";
}

std::string MainFileSummary(const RecordedMain& main) {
  return "Main file: " + main.Path + "\n(" + std::string(MainFileOriginText(main.Origin)) + ")";
}

RecordedMain RecordMainFile(const std::string& file, const std::string& project_file,
                            bool from_ide) {
  if (auto own = UseMainFileOf(file)) return {std::move(*own), MainFileOrigin::UseMainFile};
  if (!project_file.empty()) {
    if (auto main = ProjectMainFileOf(project_file, file)) {
      return {std::move(*main), MainFileOrigin::IdeProject};
    }
  }
  return {file, from_ide ? MainFileOrigin::Tab : MainFileOrigin::Given};
}

namespace {

MainFileChoice NoMainFile(const std::string& error) { return {"", error, MainFileOrigin::Given}; }

}  // namespace

MainFileChoice MainFileOfGiven(const std::string& given) {
  if (!IsIdeProjectPath(given)) return {given, "", MainFileOrigin::Given};
  const std::optional<IdeProject> project = ReadIdeProject(given);
  if (!project) return NoMainFile("cannot read the project file " + given + " (no readable, well-formed XML file)");
  const std::string input = MainTargetInput(*project);
  if (input.empty()) return NoMainFile("the project file " + given + " has no target with an input file");
  const std::string written = FromFolder(DirectoryPart(given), input);
  FolderListings listings;
  const std::optional<std::string> main = FileOnDisk(written, listings);
  if (!main) return NoMainFile("the input file of the project file " + given + " does not exist: " + written);
  // Read as a source, a project file would be taken for PureBasic.
  if (IsIdeProjectPath(*main)) return NoMainFile("the input file of the project file " + given + " is a project file: " + *main);
  return {*main, "", MainFileOrigin::ProjectFile};
}

std::string IdeProjectFromEnvironment() {
  const char* project = std::getenv("PB_TOOL_Project");
  return project != nullptr ? project : "";
}
