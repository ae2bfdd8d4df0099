#include "lsp/request_scope.h"

#include "lsp/uri.h"

std::string DocumentPath(const Json& params) {
  const Json& uri = params.at("textDocument").at("uri");
  std::optional<std::string> path = PathOfUri(uri.get<std::string>());
  if (!path) throw RpcFailure{InvalidParams, "only file URIs are served"};
  return *path;
}

DocumentInProject ProjectDocument(RequestScope& scope, const Json& params) {
  DocumentInProject document{DocumentPath(params)};
  document.Served = scope.Documents.ProjectOf(document.Path, scope.Host);
  if (document.Served == nullptr) throw RpcFailure{RequestCancelled, "the request was cancelled"};
  document.File = ProjectFileIndex(document.Served->State, document.Path);
  return document;
}

namespace {

int64_t IntegerField(const Json& object, const char* key) {
  const Json& value = object.at(key);
  if (!value.is_number_integer()) throw RpcFailure{InvalidParams, std::string(key) + " is no integer"};
  return value.get<int64_t>();
}

}  // namespace

TextPosition PositionOf(const Json& position) {
  const int64_t line = IntegerField(position, "line");
  const int64_t column = IntegerField(position, "character");
  if (line < 0 || column < 0 || line > UINT32_MAX || column > UINT32_MAX) {
    throw RpcFailure{InvalidParams, "a position is out of range"};
  }
  return {static_cast<uint32_t>(line), static_cast<uint32_t>(column)};
}
