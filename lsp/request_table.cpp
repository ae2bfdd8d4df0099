#include "lsp/request_table.h"


#include "lsp/call_hierarchy.h"
#include "lsp/diagnostics.h"
#include "lsp/navigation.h"
#include "lsp/rename.h"
#include "lsp/symbols.h"

namespace {

constexpr RequestRow kRequests[] = {
    {"textDocument/definition", "procedures, files", AnswerDefinition},
    {"textDocument/declaration", "calls", AnswerDeclaration},
    {"textDocument/references", "calls", AnswerReferences},
    {"textDocument/documentLink", "files", AnswerDocumentLinks},
    {"textDocument/prepareCallHierarchy", "procedures", AnswerPrepareCallHierarchy},
    {"callHierarchy/incomingCalls", "calls", AnswerIncomingCalls},
    {"callHierarchy/outgoingCalls", "callees, all-calls", AnswerOutgoingCalls},
    {"textDocument/documentSymbol", "procedures", AnswerDocumentSymbols},
    {"workspace/symbol", "procedures", AnswerWorkspaceSymbols},
    {"textDocument/hover", "calls, unused", AnswerHover},
    {"textDocument/codeAction", "declare-check --fix", AnswerCodeActions},
    {"textDocument/prepareRename", "procedures", AnswerPrepareRename},
    {"textDocument/rename", "calls", AnswerRename},
    {"textDocument/completion", "procedures", AnswerCompletion},
};

}  // namespace

const RequestRow* FindRequest(std::string_view method) {
  for (const RequestRow& row : kRequests) {
    if (row.Method == method) return &row;
  }
  return nullptr;
}
