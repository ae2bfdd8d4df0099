// The straightforward listings, kept as the reference that the fast listings are checked
// against: every file is read again for every procedure, and every line is prepared and
// tested in full. Built into the tests and the bench only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// The include scan in rounds, each from scratch: every constant expanded in full, the
/// definitions read again from every file of the last list, lists compared in whole.
SourceFileList ReferenceScanIncludes(const std::string& main_path);

/// The procedure-call listing, reading every file once per procedure.
ListingResult ReferenceListAllProcedureCalls(Project& project, ResultList& list,
                                             ListingHost& host);

/// The calls of one procedure into `list`, preparing and testing every line of every file.
int32_t ReferenceListProcedureCalls(const Project& project, ResultList& list,
                                    ListingHost& host, std::string_view name,
                                    bool without_module = false);

/// The term search, matching every non-comment line.
void ReferenceListTermMatches(const Project& project, ResultList& list, ListingHost& host,
                              std::string_view term);
