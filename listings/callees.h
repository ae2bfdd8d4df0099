// The callees of a procedure: every call of a procedure of the project inside its body,
// so the user can walk the call graph downwards as the calls list walks it upwards.
#pragma once

#include <cstdint>
#include <string_view>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// Fills `list`, opened as a "Calls in: " list for the request's `Text`, with a row per
/// call in the body of each head of that name (as `HeadsNamed` picks them, with
/// `WithoutModule`; heads in index order, an empty row between them), calls in line
/// order. A stopped run leaves only the rows that say how far it got.
ListingResult ListCallees(Project& project, ResultList& list, ListingHost& host,
                          const ListingRequest& request);
