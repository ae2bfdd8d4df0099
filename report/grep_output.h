// The report tool's lines for editors: "path:line: text", the form that Vim's quickfix
// list, Emacs' compilation mode and VS Code's problem matchers read, so that every row of a
// listing can be jumped to from the editor.
#pragma once

#include <ostream>
#include <vector>

#include "listings/project_text.h"
#include "listings/result_list.h"
#include "source/source_files.h"

/// One "path:line: text" line per row of `list` that names a file of `files` and a line
/// above 0, found as the jump to the editor finds them: the file's full path as its bytes
/// stand (so the editor can open it), the line, then in brackets the row's marks, what a
/// check found and a head's module, if any, and its "Calls" cell (the head in the
/// "Procedures" list), in UTF-8.
void WriteListGrep(const ResultList& list, const SourceFileList& files, std::ostream& out);

/// One "path:1: ..." line per file of `files`: "main file", or the file and line that
/// include it, and in brackets what the files listing notes about it as `read` read it.
void WriteFilesGrep(const SourceFileList& files, const std::vector<ProjectFile>& read,
                    std::ostream& out);
