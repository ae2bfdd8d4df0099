// Calls of one procedure: every line of the project that calls it, with the procedure in
// which each call stands, so a double-click on a row climbs the call tree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "listings/list_history.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// Text of column 0 of the selected row, a blank, and the text of its column 3.
std::string SelectedRowText(const ResultList& list);

/// Name of the procedure of a head: the text after its first blank, leading blanks removed.
std::string ProcedureNameFromHead(std::string_view head);

/// Lists the calls of `name`, or, when `name` is empty, of the procedure of the current
/// list's selected row. Opens a new "Proc: " list in `history` unless no procedure can be
/// taken from the text. Returns the new list's row count, 0 when nothing was listed,
/// no list was opened or the run was stopped.
int32_t ShowProcedureCalls(const Project& project, ListHistory& history, ListingHost& host,
                           std::string_view name);

/// The listing itself: opens the "Proc: " list for `name` and fills it.
int32_t ListProcedureCalls(const Project& project, ListHistory& history, ListingHost& host,
                           std::string_view name);
