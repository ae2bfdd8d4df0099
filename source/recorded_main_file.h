// The main file that the PureBasic IDE records for a source file open in one of its tabs:
// the file's own "UseMainFile" option, else the main file of the IDE project that holds it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// The file named by the line "; UseMainFile = PATH" of the IDE options block at the end of
/// `file` (PATH taken from the file's folder); nothing when there is none or it names no
/// existing regular file.
std::optional<std::string> UseMainFileOf(const std::string& file);

/// The input file of the main target (see `MainTargetInput`) of the project file `project_file` (taken from
/// the project's folder) when the project's file list holds `file`; nothing when it does
/// not, when that input file does not exist, or when the project file is unreadable or
/// malformed.
std::optional<std::string> ProjectMainFileOf(const std::string& project_file,
                                             const std::string& file);

/// How the main file of a run was found.
enum class MainFileOrigin : uint8_t {
  Given,        ///< the file given (command line, Open dialog) is the main file
  UseMainFile,  ///< the UseMainFile option of the file given (an IDE tab)
  IdeProject,   ///< the main target of the IDE's current project, which lists the tab
  ProjectFile,  ///< the main target of the project file given
  Tab,          ///< the IDE's tab itself, for which no main file is recorded
};

/// "given", "its UseMainFile option", "the IDE project", "the project file" or "the tab
/// itself: no main file is recorded for it".
std::string_view MainFileOriginText(MainFileOrigin origin);

/// A main file and how it was found.
struct RecordedMain {
  std::string Path;
  MainFileOrigin Origin = MainFileOrigin::Given;
};

/// The main file for `file`: its UseMainFile, else the main file of `project_file` (the
/// IDE's current project; empty when there is none), else `file` itself (a `Tab` when
/// `from_ide`, the IDE started the program, else `Given`).
RecordedMain RecordMainFile(const std::string& file, const std::string& project_file,
                            bool from_ide = false);

/// "Main file: PATH" and, on a line of its own, how it was found ("(given)").
std::string MainFileSummary(const RecordedMain& main);

/// The path of `RecordMainFile`.
inline std::string RecordedMainFile(const std::string& file, const std::string& project_file) {
  return RecordMainFile(file, project_file).Path;
}

/// What a main file given by the user stands for.
struct MainFileChoice {
  std::string Path;   ///< the main file to take up; empty when `Error` says why there is none
  std::string Error;  ///< a message naming the project file; empty when all went well
  MainFileOrigin Origin = MainFileOrigin::Given;  ///< `ProjectFile` for a project file's
};

/// `given` itself; for a project file (".pbp" in any letter case) the input file of its
/// main target, taken from the project's folder and found on disk, or an error when the
/// project file cannot be read, is no well-formed XML, has no target with an input file,
/// or names no existing file or another project file.
MainFileChoice MainFileOfGiven(const std::string& given);

/// The IDE's current project file: the environment variable PB_TOOL_Project, which the
/// IDE sets for the tools it starts; empty when it is not set.
std::string IdeProjectFromEnvironment();
