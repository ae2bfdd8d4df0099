// Reading one source line as the include scan does: the IncludePath and IncludeFile
// (XIncludeFile) statements, found in the text before the line's first ":", and their values
// when they are written as string expressions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "source/string_expression.h"

/// An IncludeFile or XIncludeFile statement of one line.
struct IncludeFileStatement {
  std::string Name;   ///< file name: quotes removed, cut at ";", blanks and tabs trimmed
  bool Once = false;  ///< true for XIncludeFile (the keyword directly preceded by "X")
  std::optional<ExpressionTerms> Expression;  ///< the value's terms when it is an expression
  std::string Written;  ///< the statement as written, from its first non-blank to the value's end
};

/// The new include directory when `line` holds "IncludePath" before its first ":", with
/// #PB_Compiler_Home replaced by `compiler_home`; may be empty. Nothing when there is none.
std::optional<std::string> IncludePathValue(std::string_view line,
                                            std::string_view compiler_home);

/// The include statement of `line` when it holds "IncludeFile" before its first ":" and
/// names a file; nothing when there is no keyword or the name is empty.
std::optional<IncludeFileStatement> IncludeFileValue(std::string_view line);

/// The terms of the IncludePath value of `line` when it is written as an expression;
/// nothing when there is no keyword or the value is of another shape.
std::optional<ExpressionTerms> IncludePathExpression(std::string_view line);
