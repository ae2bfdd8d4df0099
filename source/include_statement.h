// Reading one source line as the include scan does: the IncludePath and IncludeFile
// (XIncludeFile) statements, found in the text before the line's first ":".
#pragma once

#include <optional>
#include <string>
#include <string_view>

/// An IncludeFile or XIncludeFile statement of one line.
struct IncludeFileStatement {
  std::string Name;   ///< file name: quotes removed, cut at ";", blanks and tabs trimmed
  bool Once = false;  ///< true for XIncludeFile (the keyword directly preceded by "X")
};

/// The new include directory when `line` holds "IncludePath" before its first ":", with
/// #PB_Compiler_Home replaced by `compiler_home`; may be empty. Nothing when there is none.
std::optional<std::string> IncludePathValue(std::string_view line,
                                            std::string_view compiler_home);

/// The include statement of `line` when it holds "IncludeFile" before its first ":" and
/// names a file; nothing when there is no keyword or the name is empty.
std::optional<IncludeFileStatement> IncludeFileValue(std::string_view line);
