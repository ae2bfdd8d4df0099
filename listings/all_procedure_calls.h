// The procedure-call listing behind "All Proc-Calls": every procedure with all its calls,
// counts, and colour marks, and the Declare lines for procedures called above their head.
#pragma once

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// Fills `list`, opened as the "All Procedure-Calls..." list, with a procedure row, its
/// call rows and a closing row per entry of `project.Procedures`; the procedures called
/// above their head become `project.Candidates`, and their Declares the result's
/// `DeclareText` (also after a stop, of the procedures finished by then).
ListingResult ListAllProcedureCalls(Project& project, ResultList& list, ListingHost& host,
                                    const ListingRequest& request = {});
