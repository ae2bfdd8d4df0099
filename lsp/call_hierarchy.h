// The call hierarchy: a procedure's callers from its calls listing and its callees from
// its callees listing, the code outside any procedure of each file as an item of its own.
#pragma once

#include "lsp/json_rpc.h"
#include "lsp/request_scope.h"

/// textDocument/prepareCallHierarchy: an item per head named at the position.
Json AnswerPrepareCallHierarchy(RequestScope& scope, const Json& params);

/// callHierarchy/incomingCalls: the callers of the item's procedure from its calls
/// listing, the main code as an item of its own.
Json AnswerIncomingCalls(RequestScope& scope, const Json& params);

/// callHierarchy/outgoingCalls: the callees from the callees listing; for the main code
/// item, the calls outside any procedure from the all-calls listing.
Json AnswerOutgoingCalls(RequestScope& scope, const Json& params);
