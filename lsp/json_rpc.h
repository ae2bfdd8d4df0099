// JSON-RPC 2.0 as the language server speaks it: the messages it reads (requests,
// notifications, responses it ignores), the responses and notifications it writes, and the
// error codes of the protocol.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <variant>

using Json = nlohmann::json;

/// The error codes the server answers with.
enum RpcErrorCode : int {
  ParseError = -32700,            ///< the body is no JSON
  InvalidRequest = -32600,        ///< JSON, but no request (or a request after shutdown)
  MethodNotFound = -32601,        ///< a request of a method the server does not know
  InvalidParams = -32602,         ///< params missing or of a wrong type
  InternalError = -32603,         ///< the server failed on its own
  ServerNotInitialized = -32002,  ///< a request before initialize
  RequestFailed = -32803,         ///< a valid request that cannot be answered (rename refused)
  RequestCancelled = -32800,      ///< the client cancelled it while it ran
};

/// A failure that a request handler reports instead of a result.
struct RpcFailure {
  int Code = InternalError;
  std::string Message;
};

/// A request or notification read from the client.
struct Incoming {
  bool IsRequest = false;  ///< a request has an id and gets a response
  Json Id;                 ///< the request's id (number or string)
  std::string Method;
  Json Params;             ///< the params; null when absent
};

/// What a body is: a message to handle, a response to ignore (the server sends no
/// requests), or the error response to send (id null where none could be read).
struct Ignored {};
using ReadMessage = std::variant<Incoming, Ignored, Json>;

/// Reads one message body.
ReadMessage ReadIncoming(std::string_view body);

/// The response to request `id` with `result`.
Json ResultResponse(const Json& id, Json result);

/// The error response to request `id` (null when unknown).
Json ErrorResponse(const Json& id, int code, std::string_view message);

/// A notification of `method` with `params`.
Json NotificationMessage(std::string_view method, Json params);

/// The message as sent: compact JSON; bytes that are no UTF-8 are replaced, never thrown.
std::string SerializeMessage(const Json& message);
