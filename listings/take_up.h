// Taking up a main file, as at start-up and with "Open": the include scan, then the
// "Procedures" list with the procedure index.
#pragma once

#include <string>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// Makes `main_file` the project's main file: rebuilds its source files with
/// `ScanIncludes`, forgets the last Declare candidates, and fills `procedures_list` with
/// `ListProcedures`. A stop leaves the procedures found so far.
ListingEnd TakeUpProject(Project& project, const std::string& main_file, ResultList& procedures_list,
                   ListingHost& host);

/// Takes up the project's main file again after files changed: as `TakeUpProject`, but
/// reads only the files that `project.Texts` no longer holds.
ListingEnd TakeUpAgain(Project& project, ResultList& procedures_list, ListingHost& host);
