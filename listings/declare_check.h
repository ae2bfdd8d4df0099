// The "Declare check": the Declares a project needs, judged in the order in which the
// compiler reads its lines (depth first through the include statements), not by line
// numbers across files.
#pragma once

#include "listings/call_graph.h"
#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/project_text.h"
#include "listings/result_list.h"

/// Fills `list`, opened as the "Declare check" list, in file and line order with:
/// "missing" for a procedure called before its head without a Declare before that call
/// (followed by the first such call; a call in a Macro body never counts), "differs: "
/// and what differs for a Declare whose signature is not its procedure's (followed by the
/// head; see `SignatureDifference`), "orphan" for a Declare of no procedure; then a
/// summary of the counts. The Declares of the procedures that miss one become the
/// result's `DeclareText`. A stopped run leaves only the rows that say how far it got.
ListingResult ListDeclareCheck(Project& project, ResultList& list, ListingHost& host,
                               const ListingRequest& request = {});

/// `ListDeclareCheck` over the call graph `graph` of `text`, which `ReadCheckGraph`
/// built, so that one graph serves several checks.
ListingResult ListDeclareCheckIn(const Project& project, const ProjectText& text,
                                 const CallGraph& graph, ResultList& list, ListingHost& host);
