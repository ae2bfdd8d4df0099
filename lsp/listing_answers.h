// What every request of the language server shares: running a catalog listing on a served
// project (each run kept until the project is taken up again), the file and line a row
// names, and the protocol's locations and ranges of names in the editor's lines.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/procedure_calls.h"
#include "lsp/json_rpc.h"
#include "lsp/positions.h"
#include "lsp/workspace.h"

/// Runs the catalog's listing `name` on `project` for `request` into a list opened about
/// the request's text (or the listing's title), as the report tool runs it; a run asked
/// before on the same take-up is not run again. Throws `RpcFailure` RequestCancelled when
/// the host stopped it.
const ListingOutput& RunCatalogListing(ServedProject& project, std::string_view name,
                                       const ListingRequest& request, ListingHost& host);

/// Runs the checks "unused" and "declare-check" on `project` as `RunCatalogListing` does,
/// both over one read of the project and one call graph, unless both were run on this
/// take-up already. Throws `RpcFailure` RequestCancelled when the host stopped them.
void RunChecks(ServedProject& project, ListingHost& host);

/// Where a row points: a file index of the project's source file list and a 1-based line.
struct RowSpot {
  int32_t File = -1;  ///< -1 for a row that names no file of the project
  int32_t Line = 0;
};

/// The spot of row `row` of `list` (see `LocateRow`).
RowSpot SpotOfRow(const Project& project, const ResultList& list, int32_t row);

/// True for a row that reports a line: no separator, closing row or summary.
bool IsLineRow(const ResultList& list, int32_t row);

/// Index in the procedure index of the procedure that a "(in) Function" cell names ("line
/// head text" of its head, and a callee's file after `CalleeFileMark`), the one in that
/// file or else in file `file` first; -1 for an empty or unknown cell.
int32_t ProcedureOfLabel(const Project& project, std::string_view label, int32_t file);

/// What a listing about procedure `entry` is asked for: "X::Name" for a procedure of
/// module X, else the name for the procedure without module.
ListingRequest RequestFor(const ProcedureEntry& entry);

/// The procedure name (without parameter list) of a head.
std::string BareName(std::string_view head_text);

/// The lines of the project's files as the editor has them, each file indexed once.
class ProjectLines {
 public:
  /// Lines of the files of `project`, columns counted in `encoding`.
  ProjectLines(const Project& project, PositionEncoding encoding)
      : project_(project), encoding_(encoding), files_(own_) {}
  /// As above, indexing each file in `kept` (which must outlive these lines) unless the
  /// index kept there is of the file's bytes now.
  ProjectLines(const Project& project, PositionEncoding encoding, LineIndexes& kept)
      : project_(project), encoding_(encoding), files_(kept) {}
  /// Line `line` (1-based) of file `file`; empty when there is none.
  std::string_view Line(int32_t file, int32_t line);
  /// Number of lines of file `file`; 0 for none.
  int32_t LineCount(int32_t file);
  /// The protocol's Range of the first whole-word `name` (letter case ignored) in that
  /// line, or of the line's text after its leading blanks when it does not stand there.
  Json NameRange(int32_t file, int32_t line, std::string_view name);
  /// A Location: the file's URI and `NameRange`.
  Json Location(int32_t file, int32_t line, std::string_view name);
  /// The encoding of the columns.
  PositionEncoding Encoding() const { return encoding_; }

 private:
  const Project& project_;
  const TextLines* Indexed(int32_t file);

  PositionEncoding encoding_;
  LineIndexes own_;
  LineIndexes& files_;
};

/// A protocol Range over bytes [`start`, `end`) of `line`, on 0-based line `line_index`.
Json RangeJson(std::string_view line, uint32_t line_index, size_t start, size_t end,
               PositionEncoding encoding);

/// Byte offset of whole-word `name` in `line`, letter case ignored; npos when absent.
size_t FindWord(std::string_view line, std::string_view name);
