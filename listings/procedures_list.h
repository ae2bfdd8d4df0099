// The "Procedures" list: every procedure head of the project, which also rebuilds the
// procedure index that the procedure-call listing walks.
#pragma once

#include <string_view>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// The head text that the list takes from `line` (as read): the line cut before its first
/// ";" when that starts with "Procedure" not followed by "Ret", else empty.
std::string_view ListedHeadText(std::string_view line);

/// Fills `list` with one row per procedure head and rebuilds `project.Procedures`.
/// A stop keeps the rows and index entries found so far.
ListingEnd ListProcedures(Project& project, ResultList& list, ListingHost& host);
