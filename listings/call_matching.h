// Call matching: prepares a source line and tests it for a call of one procedure, given
// the procedure's call key (its name followed by "(", without blanks).
#pragma once

#include <string>
#include <string_view>

/// The 17 characters that may stand directly before a call.
extern const std::string_view CallSeparators;

/// Key of the procedure whose head line is `head_text`: the text from its first blank,
/// leading blanks removed, cut before the first "(", then "(", every blank removed.
std::string CallKeyFromHead(std::string_view head_text);

/// Key of a procedure given by name (with or without parameter list or trailing "("):
/// the text before the first "(", then "(", every blank removed.
std::string CallKeyFromName(std::string_view name);

/// The steps of `NormalizeCallLine` that do not depend on the key: leading tabs, then
/// leading blanks removed, cut before the first ";" outside parentheses and strings.
std::string_view PrepareCallLine(std::string_view line);

/// Prepared line: leading tabs and blanks removed, cut at the first ";" outside
/// parentheses and strings, blanks before "(" closed up from the procedure's name on.
std::string NormalizeCallLine(std::string_view line, std::string_view key);

/// 0 when the prepared `line` holds no call of `key`; +1 for a call; -1 for a call found
/// only with letter case ignored. An empty key is never found.
int FindCall(std::string_view line, std::string_view key);
