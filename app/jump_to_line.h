// The jump from the selected result row to its source line in the PureBasic IDE: which IDE
// program is started, and its start with an argument vector on the row's file and line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "listings/result_list.h"
#include "source/source_files.h"

/// Argument vector that starts `program` on `path` at `line`: program, path, "-l", line.
std::vector<std::string> EditorArguments(const std::string& program, const std::string& path,
                                         int32_t line);

/// The IDE program: $PB_TOOL_IDE when set and not empty, else
/// $PUREBASIC_HOME/compilers/purebasic when that is set and not empty, else the built-in path.
std::string EditorProgram();

/// Starts the IDE on the file and line of the selected row of `list`, not waiting for it.
/// Does nothing, silently, without a selected row, without a file name or when the name is
/// not in `files`; a missing IDE program also goes unnoticed.
void JumpToLine(const ResultList& list, const SourceFileList& files);
