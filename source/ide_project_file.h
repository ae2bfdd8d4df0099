// A PureBasic IDE project file (.pbp, XML): the source files it holds and the input file of
// its default target, read with GLib's XML parser.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// What a project file says; paths as written there, relative to its folder.
struct IdeProject {
  std::vector<std::string> Files;  ///< the name of every <file> of the "files" section
  std::string DefaultInput;        ///< <inputfile> of the target marked default; may be empty
};

/// Largest project file that is read; a larger one counts as unreadable.
constexpr size_t MaxIdeProjectSize = 16u << 20;

/// The project in `xml`; nothing when it is not well-formed.
std::optional<IdeProject> ParseIdeProject(std::string_view xml);

/// The project file at `path`; nothing when it is no readable regular file of at most
/// MaxIdeProjectSize bytes (reading never blocks) or not well-formed.
std::optional<IdeProject> ReadIdeProject(const std::string& path);
