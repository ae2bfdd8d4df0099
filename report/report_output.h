// How the report tool prints the file list and result lists: one JSON object per line,
// or an aligned table for a person. Every text goes through `ToDisplayText` on its own.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "listings/result_list.h"
#include "source/source_files.h"

/// `text` as a JSON string literal, quotes included (`text` must be UTF-8).
std::string JsonString(std::string_view text);

/// The colour marks of a row in words ("never called", "other case", "called above head",
/// "declaration"), joined by ", "; empty when it has none.
std::string RowMarks(const ResultRow& row);

/// One {"path", "included_by", "include_line"} object per file.
void WriteFilesJson(const SourceFileList& files, std::ostream& out);
/// The files as a table: path, including file, include line.
void WriteFilesTable(const SourceFileList& files, std::ostream& out);

/// The {"list": ...} line, then one {"cells", "bg", "fg"} line per row.
void WriteListJson(const ResultList& list, std::ostream& out);
/// The caption, then the rows as a table with a marks column in front.
void WriteListTable(const ResultList& list, std::ostream& out);
