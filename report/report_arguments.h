// The command line of pb-sourcetrek-report: which listing of the catalog, for which main
// file, printed how. Options may stand anywhere; "--" ends them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "listings/listing.h"
#include "frontend/program_info.h"

/// How a listing is printed: a table for a person, JSON, "path:line: text" for editors, or
/// (a tree only) a Graphviz digraph.
enum class ReportFormat { Table, Json, Grep, Dot };

/// What the command line asks for.
struct ReportRequest {
  InformationRequest Information = InformationRequest::None;  ///< help or version instead
  ReportFormat Format = ReportFormat::Table;
  bool FindMain = false;  ///< MAINFILE is any file: the main file the IDE records for it is taken
  bool Callers = false;  ///< a tree of callers rather than callees
  int Depth = DefaultTreeDepth;  ///< levels of a tree below its root
  std::string Listing;   ///< a listing's name: "files", "procedures", "calls", ...
  std::string MainFile;  ///< as given on the command line
  std::string Text;      ///< NAME, TERM or TEXT of the listings that take one
  bool Fix = false;      ///< declare-check: print the Declares to add instead of the list
};

/// The request of `arguments` (program name left out): LISTING, MAINFILE and TEXT with the
/// options anywhere before, between or after them; "--" ends the options; "-h"/"--help" or
/// "-V"/"--version" ask for nothing else. nullopt with a one-line `error` (naming the
/// option and the listing) for two formats or an option that does not fit the listing,
/// an unknown option or listing, a missing or surplus argument, an empty NAME, or a depth
/// out of range.
std::optional<ReportRequest> ParseReportArguments(const std::vector<std::string>& arguments,
                                                  std::string& error);
