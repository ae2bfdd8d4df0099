// How the report tool prints the file list and result lists: one JSON object per line,
// or an aligned table for a person. Every text goes through `ToDisplayText` on its own.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "listings/project_text.h"
#include "listings/result_list.h"
#include "source/source_files.h"

/// `text` as a JSON string literal, quotes included (`text` must be UTF-8).
std::string JsonString(std::string_view text);
/// Appends `JsonString(text)` to `json`.
void AppendJsonString(std::string& json, std::string_view text);

/// The marks of a row in words ("never called", "other case", "called above head",
/// "declaration", "declare"), joined by ", "; empty when it has none.
std::string MarkWords(RowMarks marks);

/// What the files listing says about a file that misses from the listings: "not read", and
/// the statement as written when an include expression named no file; empty otherwise.
std::string FileNote(const SourceFile& file, const ProjectFile& read);

/// One {"path", "included_by", "include_line"} object per file of `files`, as `read` read
/// them, with "readable": false for a file that could not be read and "statement" for an
/// include whose expression named no file.
void WriteFilesJson(const SourceFileList& files, const std::vector<ProjectFile>& read,
                    std::ostream& out);
/// The files as a table: path, including file, include line, and a note column ("not
/// read", the statement as written) when some file has a note.
void WriteFilesTable(const SourceFileList& files, const std::vector<ProjectFile>& read,
                     std::ostream& out);

/// The {"list": ...} line, then one {"cells", "bg", "fg"} line per row, with "mark":
/// "callback" for a procedure whose address is taken.
void WriteListJson(const ResultList& list, std::ostream& out);
/// The caption, then the rows as a table with a marks column in front.
void WriteListTable(const ResultList& list, std::ostream& out);
