// The requests that lead from a name to other places of the project: definition,
// declaration, references and the links of include lines. Each answers
// from a catalog listing's rows.
#pragma once

#include "lsp/json_rpc.h"
#include "lsp/request_scope.h"

/// textDocument/definition: the heads of the procedure named at the position, or the file
/// an include line resolves to; null for neither.
Json AnswerDefinition(RequestScope& scope, const Json& params);

/// textDocument/declaration: the Declare lines of the procedure (the calls listing's).
Json AnswerDeclaration(RequestScope& scope, const Json& params);

/// textDocument/references: the calls listing's call rows; with
/// `context.includeDeclaration` also its Declare rows and the heads.
Json AnswerReferences(RequestScope& scope, const Json& params);

/// textDocument/documentLink: a link per include statement that names a file.
Json AnswerDocumentLinks(RequestScope& scope, const Json& params);
