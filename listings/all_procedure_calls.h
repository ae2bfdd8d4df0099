// The procedure-call listing behind "All Proc-Calls": every procedure with all its calls,
// counts, and colour marks, and the Declare lines for procedures called above their head.
#pragma once

#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// Fills `list`, opened as the "All Procedure-Calls..." list, with a procedure row, its
/// call rows and a closing row per entry of `project.Procedures`; its result, the
/// procedures called above their head, becomes `project.Candidates`, and their Declares go
/// to the host's clipboard. Returns true when the user stopped the run.
bool ListAllProcedureCalls(Project& project, ResultList& list, ListingHost& host);
