// The procedure a request at a position is about: the name under the cursor, module
// qualifier and all, resolved to procedure heads as the listings resolve calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listings/listing_host.h"
#include "lsp/positions.h"
#include "lsp/request_scope.h"
#include "lsp/workspace.h"

/// A name as it stands in a line.
struct NameInLine {
  std::string Text;   ///< "X::Name" or "Name", blanks around "::" dropped
  std::string Bare;   ///< "Name"
  size_t Start = 0;   ///< byte where the bare name starts
  size_t End = 0;     ///< byte after it
};

/// The name at byte `at` of `line` (an identifier that holds the byte or ends there), with
/// its qualifier "X::" also when the cursor is on X; nullopt when no name is there.
std::optional<NameInLine> NameAt(std::string_view line, size_t at);

/// The procedures that a position names.
struct ProcedureTarget {
  std::vector<int32_t> Heads;  ///< indexes in the procedure index, in index order
  NameInLine Name;
  int32_t Line = 0;            ///< 1-based line of the position
};

/// The procedures named at `position` of file `file` of `project`: the head on that line
/// when the name is its own; else the heads of that name (`HeadsNamed`) whose calls
/// listing lists the line, or all of them when none does. nullopt where no procedure of
/// the project is named.
std::optional<ProcedureTarget> TargetAt(ServedProject& project, int32_t file,
                                        TextPosition position, PositionEncoding encoding,
                                        ListingHost& host);

/// `TargetAt` for params' document and position; `document` receives the document.
std::optional<ProcedureTarget> TargetOfRequest(RequestScope& scope, const Json& params,
                                               DocumentInProject& document);
