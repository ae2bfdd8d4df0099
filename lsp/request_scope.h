// What a request handler of the language server works with: the workspace, the client's
// position encoding and the host whose Stop a cancellation sets, and the document and
// position that most requests name.
#pragma once

#include <cstdint>
#include <string>

#include "listings/listing_host.h"
#include "lsp/json_rpc.h"
#include "lsp/positions.h"
#include "lsp/workspace.h"

/// The server's state as one request sees it.
struct RequestScope {
  Workspace& Documents;
  PositionEncoding Encoding;
  ListingHost& Host;
};

/// A document of a request and the project that holds it.
struct DocumentInProject {
  std::string Path;
  ServedProject* Served = nullptr;
  int32_t File = -1;  ///< index in the project's source files; -1 when it holds no such file
};

/// The path of params' `textDocument.uri`. Throws `RpcFailure` InvalidParams for a
/// missing or mistyped field or a URI that is no local file.
std::string DocumentPath(const Json& params);

/// The document of params' `textDocument` with its project, taken up as needed. Throws
/// as `DocumentPath`, and RequestCancelled when the take-up was stopped.
DocumentInProject ProjectDocument(RequestScope& scope, const Json& params);

/// A Position object as a `TextPosition`; throws InvalidParams for one that is no Position.
TextPosition PositionOf(const Json& position);
