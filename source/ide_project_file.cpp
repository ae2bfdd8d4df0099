#include "source/ide_project_file.h"

#include <glib.h>

#include <cstring>
#include <utility>

#include "source/file_system.h"

namespace {

// Where the parser stands: inside the "files" section, inside a target.
struct ParseState {
  IdeProject Project;
  int FilesSection = 0;  // depth of open <section name="files"> elements
  int Target = 0;        // depth of open <target> elements
  bool TargetHasInput = false;
};

// `name` without a namespace prefix: "pb:target" is "target".
const char* LocalName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon != nullptr ? colon + 1 : name;
}

// The value of attribute `name`; null when the element has none.
const char* Attribute(const gchar** names, const gchar** values, const char* name) {
  for (; *names != nullptr; ++names, ++values) {
    if (std::strcmp(LocalName(*names), name) == 0) return *values;
  }
  return nullptr;
}

bool Is(const char* value, const char* wanted) {
  return value != nullptr && std::strcmp(value, wanted) == 0;
}

void StartTarget(ParseState& state, const gchar** names, const gchar** values) {
  if (state.Target++ > 0) return;
  state.Project.Targets.push_back(
      {Is(Attribute(names, values, "default"), "1"), Is(Attribute(names, values, "enabled"), "1"), ""});
  state.TargetHasInput = false;
}

// A target's first <inputfile> is its input; a second one is passed over.
void TakeInput(ParseState& state, const gchar** names, const gchar** values) {
  if (state.Target == 0 || state.TargetHasInput) return;
  state.TargetHasInput = true;
  const char* value = Attribute(names, values, "value");
  state.Project.Targets.back().Input = value != nullptr ? value : "";
}

void StartElement(GMarkupParseContext*, const gchar* qualified, const gchar** names,
                  const gchar** values, gpointer data, GError**) {
  ParseState& state = *static_cast<ParseState*>(data);
  const char* element = LocalName(qualified);
  const char* name = Attribute(names, values, "name");
  if (std::strcmp(element, "section") == 0) {
    state.FilesSection += state.FilesSection > 0 || Is(name, "files");
  } else if (std::strcmp(element, "target") == 0) {
    StartTarget(state, names, values);
  } else if (std::strcmp(element, "file") == 0 && state.FilesSection > 0 && name != nullptr) {
    state.Project.Files.push_back(name);
  } else if (std::strcmp(element, "inputfile") == 0) {
    TakeInput(state, names, values);
  }
}

void EndElement(GMarkupParseContext*, const gchar* qualified, gpointer data, GError**) {
  ParseState& state = *static_cast<ParseState*>(data);
  const char* element = LocalName(qualified);
  if (std::strcmp(element, "section") == 0 && state.FilesSection > 0) --state.FilesSection;
  if (std::strcmp(element, "target") == 0 && state.Target > 0) --state.Target;
}

}  // namespace

std::optional<IdeProject> ParseIdeProject(std::string_view xml) {
  // A byte-order mark before the XML declaration is no markup.
  if (xml.substr(0, 3) == "\xEF\xBB\xBF") xml.remove_prefix(3);
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
  const std::optional<std::string> text = ReadBoundedFile(path, MaxIdeProjectSize);
  if (!text) return std::nullopt;
  return ParseIdeProject(*text);
}

std::string MainTargetInput(const IdeProject& project) {
  const IdeTarget* first = nullptr;
  const IdeTarget* enabled = nullptr;
  for (const IdeTarget& target : project.Targets) {
    if (target.Input.empty()) continue;
    if (target.Default) return target.Input;
    if (first == nullptr) first = &target;
    if (enabled == nullptr && target.Enabled) enabled = &target;
  }
  if (enabled != nullptr) return enabled->Input;
  return first != nullptr ? first->Input : std::string();
}

bool IsIdeProjectPath(std::string_view path) {
  if (path.size() < 4) return false;
  const std::string_view end = path.substr(path.size() - 4);
  return end[0] == '.' && (end[1] | 0x20) == 'p' && (end[2] | 0x20) == 'b' && (end[3] | 0x20) == 'p';
}
