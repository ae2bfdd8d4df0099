// A PureBasic IDE project file (.pbp, XML): the source files it holds and the input file of
// its main target, read with GLib's XML parser.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// One <target> of a project file.
struct IdeTarget {
  bool Default = false;  ///< default="1"
  bool Enabled = false;  ///< enabled="1"
  std::string Input;     ///< value of its first <inputfile>; empty when it has none
};

/// What a project file says; paths as written there, relative to its folder.
struct IdeProject {
  std::vector<std::string> Files;  ///< the name of every <file> of the "files" section
  std::vector<IdeTarget> Targets;  ///< every target, in file order
};

/// Largest project file that is read; a larger one counts as unreadable.
constexpr size_t MaxIdeProjectSize = 16u << 20;

/// The project in `xml` (element and attribute names taken without their namespace
/// prefix); nothing when it is not well-formed.
std::optional<IdeProject> ParseIdeProject(std::string_view xml);

/// The project file at `path`; nothing when it is no readable regular file of at most
/// MaxIdeProjectSize bytes (reading never blocks) or not well-formed.
std::optional<IdeProject> ReadIdeProject(const std::string& path);

/// The input file of the project's main target: of the targets with an input file, the
/// one marked default, else the first enabled one, else the first; empty when none has one.
std::string MainTargetInput(const IdeProject& project);

/// True when `path` ends in ".pbp" in any letter case: an IDE project file.
bool IsIdeProjectPath(std::string_view path);
