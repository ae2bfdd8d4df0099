// Which source file and line a result row names: the file that the row was read from, or
// for a row without one the file that its "in File" cell names, found among the project's
// files by name; the line through its "Line" cell. The jump to the editor and the report
// tool's editor lines both go by it.
#pragma once

#include <cstdint>
#include <string_view>

#include "listings/result_list.h"
#include "source/source_files.h"

/// File name that an "in File" cell names: its file-name part; when the cell begins with a
/// double quote, the text after it up to the next double quote. Empty for an empty cell.
std::string_view RowFileName(std::string_view file_cell);

/// Line number that a "Line" cell names: its leading digits after any leading blanks, 0 when
/// there are none; a number beyond the 32-bit range gives the largest 32-bit value.
int32_t RowLineNumber(std::string_view line_cell);

/// First entry of `files` whose file-name part equals `name` with letter case folded by the
/// current locale's rules; nullptr when `name` is empty or no entry matches.
const SourceFile* FindRowFile(const SourceFileList& files, std::string_view name);

/// A row's source file (nullptr when it names none of the project) and line number.
struct RowLocation {
  const SourceFile* File = nullptr;
  int32_t Line = 0;
};

/// Where row `row` of `list` points in the project of `files`: the row's own file when it
/// has one and that entry of `files` has the name of its "in File" cell, else the first of
/// that name; no file for a row that does not exist (so also for -1, no selection) or
/// whose "in File" cell names no project file.
RowLocation LocateRow(const ResultList& list, int32_t row, const SourceFileList& files);
