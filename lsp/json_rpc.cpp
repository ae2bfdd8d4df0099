#include "lsp/json_rpc.h"

namespace {

bool IsValidId(const Json& id) { return id.is_number_integer() || id.is_string(); }

ReadMessage ReadObject(const Json& message) {
  if (!message.is_object() || message.value("jsonrpc", Json()) != "2.0") {
    return ErrorResponse(nullptr, InvalidRequest, "not a JSON-RPC 2.0 message");
  }
  const bool has_id = message.contains("id");
  if (has_id && !IsValidId(message["id"]) && !message["id"].is_null()) {
    return ErrorResponse(nullptr, InvalidRequest, "the id is neither a number nor a string");
  }
  const Json id = has_id ? message["id"] : Json();
  if (!message.contains("method")) {
    if (message.contains("result") || message.contains("error")) return Ignored{};
    return ErrorResponse(id, InvalidRequest, "a message without method");
  }
  if (!message["method"].is_string()) return ErrorResponse(id, InvalidRequest, "the method is no string");
  const Json params = message.value("params", Json());
  if (!params.is_null() && !params.is_object() && !params.is_array()) {
    return ErrorResponse(id, InvalidRequest, "params are neither an object nor an array");
  }
  return Incoming{has_id, id, message["method"].get<std::string>(), params};
}

}  // namespace

ReadMessage ReadIncoming(std::string_view body) {
  Json message = Json::parse(body, nullptr, false);
  if (message.is_discarded()) return ErrorResponse(nullptr, ParseError, "the message is no valid JSON");
  if (message.is_array()) return ErrorResponse(nullptr, InvalidRequest, "batches are not supported");
  return ReadObject(message);
}

Json ResultResponse(const Json& id, Json result) {
  return Json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
}

Json ErrorResponse(const Json& id, int code, std::string_view message) {
  return Json{{"jsonrpc", "2.0"},
              {"id", id},
              {"error", {{"code", code}, {"message", std::string(message)}}}};
}

Json NotificationMessage(std::string_view method, Json params) {
  return Json{{"jsonrpc", "2.0"}, {"method", std::string(method)}, {"params", std::move(params)}};
}

std::string SerializeMessage(const Json& message) {
  return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}
