// The command line of the program: the main file, the editor's selection and the word to
// look up, worked out into the main file's path and the start-up term.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "source/recorded_main_file.h"

/// The editor's selection: start and end as 1-based line and column.
struct SelectionRange {
  int32_t StartLine = 0;
  int32_t StartColumn = 0;
  int32_t EndLine = 0;
  int32_t EndColumn = 0;
};

/// What start-up takes from the command line.
struct StartUpParameters {
  std::string MainFile;       ///< absolute path of an existing main file, or empty
  MainFileOrigin Origin = MainFileOrigin::Given;  ///< how `MainFile` was found
  std::string SelectionText;  ///< the selected text read from parameter 1's file, or empty
  std::string StartTerm;      ///< the name or term to look up, ending with "("
};

/// Value of a decimal field: an optional sign, then the leading digits; 0 without digits.
/// Values beyond the 32-bit range are clamped to its nearest end.
int32_t SelectionField(std::string_view field);

/// Parses `text` ("12x5x12x9") into `range` when it has exactly three "x", else leaves
/// `range` alone; true when the range is a non-empty selection inside one line.
bool IsSingleLineSelection(std::string_view text, SelectionRange& range);

/// The selected characters of line `range.StartLine` of the file at `path`; empty when the
/// file cannot be opened, is shorter, or the column count is negative.
std::string ReadSelectedText(const std::string& path, const SelectionRange& range);

/// False only when nothing exists under `path`; a directory counts as existing.
bool MainFileExists(const std::string& path);

/// Parameter 1 as a path: trailing blanks removed; a relative path is put under
/// `launch_directory` (the directory the program was started from).
std::string MainFileFromParameter(std::string_view parameter, std::string_view launch_directory);

/// The start-up term from the word of parameter 3 and the selected text; "(" when neither
/// gives anything to look up.
std::string WorkOutStartTerm(std::string_view word, std::string_view selection_text);

/// Parameters 1 to 3 (`parameters` holds them without the program name; more are ignored).
/// Parameter 1 may be any tab of the IDE: the main file is the one the IDE records for it
/// (its UseMainFile option, else the IDE project of PB_TOOL_Project), while the selection
/// is read from parameter 1's own file.
StartUpParameters ReadParameters(const std::vector<std::string>& parameters,
                                 std::string_view launch_directory);
