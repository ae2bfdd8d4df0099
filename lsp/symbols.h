// The requests that list the project's procedures by name: the outline of a document, the
// workspace's symbols, completion and hover.
#pragma once

#include "lsp/json_rpc.h"
#include "lsp/request_scope.h"

/// textDocument/documentSymbol: the document's procedures from the procedure index, those
/// of a module inside a symbol of the module.
Json AnswerDocumentSymbols(RequestScope& scope, const Json& params);

/// workspace/symbol: every procedure of every project whose module-qualified name holds
/// the query's letters in order, letter case ignored.
Json AnswerWorkspaceSymbols(RequestScope& scope, const Json& params);

/// textDocument/completion: after an identifier prefix (or "X::" and a prefix) the
/// project's procedures whose names start with it, their heads as detail.
Json AnswerCompletion(RequestScope& scope, const Json& params);

/// textDocument/hover: the head, file and line, the number of calls (calls listing), what
/// the unused listing says of it and its Declare.
Json AnswerHover(RequestScope& scope, const Json& params);

/// True when the letters of `query` stand in `name` in order, letter case ignored.
bool MatchesSubsequence(std::string_view name, std::string_view query);
