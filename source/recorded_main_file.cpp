#include "source/recorded_main_file.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string_view>
#include <utility>

#include "source/ide_project_file.h"
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

std::optional<struct stat> StatusOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return info;
}

std::optional<std::string> IfRegularFile(std::string path) {
  const auto status = StatusOf(path);
  if (!status || !S_ISREG(status->st_mode)) return std::nullopt;
  return path;
}

bool SameFile(const std::string& a, const std::string& b) {
  const auto first = StatusOf(a);
  const auto second = StatusOf(b);
  return first && second && first->st_dev == second->st_dev && first->st_ino == second->st_ino;
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
  return IfRegularFile(FromFolder(DirectoryPart(file), *value));
}

std::optional<std::string> ProjectMainFileOf(const std::string& project_file,
                                             const std::string& file) {
  const std::optional<IdeProject> project = ReadIdeProject(project_file);
  if (!project || project->DefaultInput.empty()) return std::nullopt;
  const std::string_view folder = DirectoryPart(project_file);
  for (const std::string& listed : project->Files) {
    if (SameFile(FromFolder(folder, listed), file)) {
      return IfRegularFile(FromFolder(folder, project->DefaultInput));
    }
  }
  return std::nullopt;
}

std::string RecordedMainFile(const std::string& file, const std::string& project_file) {
  if (auto own = UseMainFileOf(file)) return std::move(*own);
  if (!project_file.empty()) {
    if (auto main = ProjectMainFileOf(project_file, file)) return std::move(*main);
  }
  return file;
}

std::string IdeProjectFromEnvironment() {
  const char* project = std::getenv("PB_TOOL_Project");
  return project != nullptr ? project : "";
}
