// The main file that the PureBasic IDE records for a source file open in one of its tabs:
// the file's own "UseMainFile" option, else the main file of the IDE project that holds it.
#pragma once

#include <optional>
#include <string>

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

/// The main file for `file`: its UseMainFile, else the main file of `project_file` (the
/// IDE's current project; empty when there is none), else `file` itself.
std::string RecordedMainFile(const std::string& file, const std::string& project_file);

/// What a main file given by the user stands for.
struct MainFileChoice {
  std::string Path;   ///< the main file to take up; empty when `Error` says why there is none
  std::string Error;  ///< a message naming the project file; empty when all went well
};

/// `given` itself; for a project file (".pbp" in any letter case) the input file of its
/// main target, taken from the project's folder and found on disk, or an error when the
/// project file cannot be read, is no well-formed XML, has no target with an input file,
/// or names no existing file or another project file.
MainFileChoice MainFileOfGiven(const std::string& given);

/// The IDE's current project file: the environment variable PB_TOOL_Project, which the
/// IDE sets for the tools it starts; empty when it is not set.
std::string IdeProjectFromEnvironment();
