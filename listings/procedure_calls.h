// Calls of one procedure: every line of the project that calls it, with the procedure in
// which each call stands, so a double-click on a row climbs the call tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// Text of column 0 of the selected row, a blank, and the text of its column 3 (a callee's
/// label without the file that it names after its head).
std::string SelectedRowText(const ResultList& list);

/// Name of the procedure of a head: the text after its first blank, leading blanks removed.
std::string ProcedureNameFromHead(std::string_view head);

/// The procedure that a "Proc: " list is opened for.
struct ProcedureChoice {
  std::string Name;            ///< the list's subject; "X::Name..." for a module procedure's head
  bool WithoutModule = false;  ///< only the procedure without module (its head was chosen)
};

/// The procedure whose calls a "Proc: " list is opened for: `name` less leading blanks,
/// or, when `name` is empty, the procedure of the selected row of `current` (nullptr for
/// no list), which `project` knows by its file and line. nullopt when no procedure can be
/// taken from the text.
std::optional<ProcedureChoice> ProcedureToList(const Project& project, const ResultList* current,
                                               std::string_view name);

/// The procedure that the selected row of `list` names for "Callers of" and "Callees of":
/// the head, or the procedure of the Declare, in its "Calls" cell (a procedure row, a
/// check's finding, a Declare line); on any other row as `ProcedureToList` takes it for an
/// empty name. nullopt for none.
std::optional<ProcedureChoice> RowProcedure(const Project& project, const ResultList& list);

/// Fills `list`, opened as a "Proc: " list for the request's `Text`, with the calls of
/// that name: in a project with modules, of X's procedure for "X::Name", of the procedure
/// without module when `WithoutModule`, else of every procedure of the name.
ListingResult ListProcedureCalls(Project& project, ResultList& list, ListingHost& host,
                                 const ListingRequest& request);
