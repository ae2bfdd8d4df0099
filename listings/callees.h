// The callees of a procedure: every call of a procedure of the project inside its body,
// so the user can walk the call graph downwards as the calls list walks it upwards.
#pragma once

#include <cstdint>
#include <string_view>

#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// Fills `list`, opened as a "Calls in: " list for `name`, with a row per call in the
/// body of each head of that name (as `HeadsNamed` picks them, with `without_module`;
/// heads in index order, an empty row between them), calls in line order. Returns the
/// list's row count, 0 when nothing was listed or the run was stopped.
int32_t ListCallees(const Project& project, ResultList& list, ListingHost& host,
                    std::string_view name, bool without_module = false);
