// The "Unused" check: every procedure that no live code reaches, with the reason. Live are
// the main program's own code (every call outside a procedure body), ProcedureDLL and
// ProcedureCDLL procedures and those whose address is taken, and whatever they call.
#pragma once

#include "listings/call_graph.h"
#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// Fills `list`, opened as the "Unused" list, with a row per unused procedure in file and
/// line order, its reason "never called" (nothing calls it but itself) or "only called by
/// unused", and a summary of the counts. A stopped run leaves only the rows that say how
/// far it got.
ListingResult ListUnused(Project& project, ResultList& list, ListingHost& host,
                         const ListingRequest& request = {});

/// `ListUnused` over the call graph `graph` that `ReadCheckGraph` built, so that one graph
/// serves several checks.
ListingResult ListUnusedIn(const Project& project, const CallGraph& graph, ResultList& list);
