#include "source/ide_project_file.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <utility>

namespace {

// Where the parser stands: inside the "files" section, inside the default target.
struct ParseState {
  IdeProject Project;
  int FilesSection = 0;  // depth of open <section name="files"> elements
  int DefaultTarget = 0; // depth of open <target default="1"> elements
};

// The value of attribute `name`; null when the element has none.
const char* Attribute(const gchar** names, const gchar** values, const char* name) {
  for (; *names != nullptr; ++names, ++values) {
    if (std::strcmp(*names, name) == 0) return *values;
  }
  return nullptr;
}

bool Is(const char* value, const char* wanted) {
  return value != nullptr && std::strcmp(value, wanted) == 0;
}

void StartElement(GMarkupParseContext*, const gchar* element, const gchar** names,
                  const gchar** values, gpointer data, GError**) {
  ParseState& state = *static_cast<ParseState*>(data);
  const char* name = Attribute(names, values, "name");
  if (std::strcmp(element, "section") == 0) {
    state.FilesSection += state.FilesSection > 0 || Is(name, "files");
  } else if (std::strcmp(element, "target") == 0) {
    state.DefaultTarget += state.DefaultTarget > 0 || Is(Attribute(names, values, "default"), "1");
  } else if (std::strcmp(element, "file") == 0 && state.FilesSection > 0 && name != nullptr) {
    state.Project.Files.push_back(name);
  } else if (std::strcmp(element, "inputfile") == 0 && state.DefaultTarget > 0 &&
             state.Project.DefaultInput.empty()) {
    const char* value = Attribute(names, values, "value");
    state.Project.DefaultInput = value != nullptr ? value : "";
  }
}

void EndElement(GMarkupParseContext*, const gchar* element, gpointer data, GError**) {
  ParseState& state = *static_cast<ParseState*>(data);
  if (std::strcmp(element, "section") == 0 && state.FilesSection > 0) --state.FilesSection;
  if (std::strcmp(element, "target") == 0 && state.DefaultTarget > 0) --state.DefaultTarget;
}

// The whole file at `path` when it is a regular file of at most `limit` bytes.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::string> text;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<size_t>(info.st_size) <= limit) {
    text.emplace();
    char block[65536];
    ssize_t got = 0;
    while (text->size() <= limit && (got = ::read(fd, block, sizeof block)) > 0) {
      text->append(block, static_cast<size_t>(got));
    }
    if (got < 0 || text->size() > limit) text.reset();
  }
  ::close(fd);
  return text;
}

}  // namespace

std::optional<IdeProject> ParseIdeProject(std::string_view xml) {
  const GMarkupParser parser = {StartElement, EndElement, nullptr, nullptr, nullptr};
  ParseState state;
  GMarkupParseContext* context = g_markup_parse_context_new(&parser, GMarkupParseFlags{}, &state, nullptr);
  const bool parsed =
      g_markup_parse_context_parse(context, xml.data(), static_cast<gssize>(xml.size()), nullptr) &&
      g_markup_parse_context_end_parse(context, nullptr);
  g_markup_parse_context_free(context);
  if (!parsed) return std::nullopt;
  return std::move(state.Project);
}

std::optional<IdeProject> ReadIdeProject(const std::string& path) {
  const std::optional<std::string> text = ReadSmallFile(path, MaxIdeProjectSize);
  if (!text) return std::nullopt;
  return ParseIdeProject(*text);
}
