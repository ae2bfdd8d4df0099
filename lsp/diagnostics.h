// The diagnostics of a project and the quick fix for missing Declares: the unused listing,
// the Declare check and the include statements that name no readable file, per file.
#pragma once

#include <map>
#include <string>

#include "lsp/json_rpc.h"
#include "lsp/request_scope.h"

/// The diagnostics of every file of `served` that has any, by path; null for a file that
/// is no open document and whose findings and bytes are those of `PublishedFindings`.
/// Sets `PendingFindings` to what it found, which the caller makes `PublishedFindings`
/// once it has sent them.
std::map<std::string, Json> ProjectDiagnostics(RequestScope& scope, ServedProject& served);

/// textDocument/codeAction: "Add missing Declares" with the Declare check's --fix lines
/// inserted into the main file after its leading comments, when any are missing.
Json AnswerCodeActions(RequestScope& scope, const Json& params);
