// The straightforward listings, kept as the reference that the fast listings are checked
// against: every file is read again for every procedure, and every line is prepared and
// tested in full. Built into the tests and the bench only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// The include scan in rounds, each from scratch: every constant expanded in full, the
/// definitions read again from every file of the last list, lists compared in whole.
SourceFileList ReferenceScanIncludes(const std::string& main_path);

/// The procedure index that a take-up builds, read line by line from every file, each
/// entry as "head|file name|line|module|file index|callback".
std::vector<std::string> ReferenceProcedureIndex(const Project& project);

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

/// What the checks take one line for, by the reference's reading.
struct ReferenceCheckLine {
  bool Head = false;      ///< a real procedure head
  bool NoCall = false;    ///< a Prototype line, a block's first or last line, inside a
                          ///< Structure, Interface or Import block
  bool InMacro = false;   ///< inside a Macro block
  int32_t BodyHead = 0;   ///< line number of the real head whose body holds the line; 0: none
};

/// The checks' reading of every line of every file of `project`, per file in list order,
/// by regular expressions on each line and a plain pass per file.
std::vector<std::vector<ReferenceCheckLine>> ReferenceCheckLines(const Project& project);
