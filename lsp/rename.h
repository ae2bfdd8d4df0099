// Renaming a procedure across its project: its heads, its Declares and every call that its
// calls listing lists, as one edit; refused where the project defines no procedure.
#pragma once

#include <string_view>
#include <vector>

#include "lsp/json_rpc.h"
#include "lsp/request_scope.h"

/// textDocument/prepareRename: the range of the procedure name at the position and the
/// name; a RequestFailed error naming the text when the project defines no such procedure.
Json AnswerPrepareRename(RequestScope& scope, const Json& params);

/// textDocument/rename: a WorkspaceEdit; InvalidParams for a new name that is no
/// PureBasic name, RequestFailed as prepareRename.
Json AnswerRename(RequestScope& scope, const Json& params);

/// Byte offsets in `line` of each whole-word `name` (letter case ignored) that is followed
/// by blanks and "(" (a call, a head, a Declare, an address "@Name()"), outside strings and
/// before a comment, and that names the procedure of module `module` (empty for none): not
/// after another module's "X::", nor after a backslash (a field or an interface's method).
std::vector<size_t> CallNamesIn(std::string_view line, std::string_view name, std::string_view module);
