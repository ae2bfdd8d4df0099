// The jump from the selected result row to its source line in the PureBasic IDE: which file
// and line a row names, which IDE program is started, and the start with an argument vector.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listings/result_list.h"
#include "source/source_files.h"

/// File name that an "in File" cell names: its file-name part; when the cell begins with a
/// double quote, the text after it up to the next double quote. Empty for an empty cell.
std::string_view JumpFileName(std::string_view file_cell);

/// Line number that a "Line" cell names: its leading digits after any leading blanks, 0 when
/// there are none; a number beyond the 32-bit range gives the largest 32-bit value.
int32_t JumpLineNumber(std::string_view line_cell);

/// First entry of `files` whose file-name part equals `name` with letter case folded by the
/// current locale's rules; nullptr when `name` is empty or no entry matches.
const SourceFile* FindJumpFile(const SourceFileList& files, std::string_view name);

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
