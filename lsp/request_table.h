// The language server's table of requests: one row per method, naming the catalog listing
// whose rows answer it and the function that turns them into the protocol's answer.
#pragma once

#include <string_view>

#include "lsp/json_rpc.h"
#include "lsp/request_scope.h"

/// Turns params into a result; throws `RpcFailure` (or a JSON type error for params of a
/// wrong type) instead.
using RequestAnswer = Json (*)(RequestScope& scope, const Json& params);

/// One request the server answers.
struct RequestRow {
  std::string_view Method;   ///< "textDocument/references"
  std::string_view Listings; ///< the catalog listings that answer it, for the help and README
  RequestAnswer Answer;
};

/// The row of `method`; nullptr for a method the server does not answer.
const RequestRow* FindRequest(std::string_view method);
