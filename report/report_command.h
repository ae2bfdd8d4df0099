// The command line of pb-sourcetrek-report: which listing, for which main file, printed
// how; and the run of one listing from take-up to output.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "listings/call_tree.h"
#include "listings/program_info.h"

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
  std::string Listing;   ///< a subcommand name: "files", "procedures", "calls", ...
  std::string MainFile;  ///< as given on the command line
  std::string Text;      ///< NAME, TERM or TEXT of the listings that take one
  bool OptionGiven = false;  ///< the listing's own option was given ("--fix")
};

/// The request of `arguments` (program name left out): options, then LISTING, MAINFILE and
/// TEXT; "-h"/"--help" or "-V"/"--version" among the options ask for nothing else. nullopt
/// with a one-line `error` for two formats or one that does not fit the listing, an unknown
/// listing, a missing or surplus argument, an empty NAME, or a tree option that is unknown,
/// out of range or given to another listing.
std::optional<ReportRequest> ParseReportArguments(const std::vector<std::string>& arguments,
                                                  std::string& error);

/// Runs the tool: 0 after printing the listing, the help or the version to `out`; 2 with one
/// line on `err` for a usage error or a main file that does not exist.
int RunReport(const std::vector<std::string>& arguments, std::string_view launch_dir,
              std::ostream& out, std::ostream& err);
