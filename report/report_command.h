// The command line of pb-sourcetrek-report: which listing, for which main file, printed
// how; and the run of one listing from take-up to output.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "listings/call_tree.h"

/// What the command line asks for.
struct ReportRequest {
  bool Json = false;
  bool FindMain = false;  ///< MAINFILE is any file: the main file the IDE records for it is taken
  bool Dot = false;      ///< a tree as a Graphviz digraph
  bool Callers = false;  ///< a tree of callers rather than callees
  int Depth = DefaultTreeDepth;  ///< levels of a tree below its root
  std::string Listing;   ///< a subcommand name: "files", "procedures", "calls", ...
  std::string MainFile;  ///< as given on the command line
  std::string Text;      ///< NAME, TERM or TEXT of the listings that take one
  bool OptionGiven = false;  ///< the listing's own option was given ("--fix")
};

/// The request of `arguments` (program name left out); nullopt with a one-line
/// `error` for an unknown listing, a missing or surplus argument, an empty NAME, or a
/// tree option that is unknown, out of range or given to another listing.
std::optional<ReportRequest> ParseReportArguments(const std::vector<std::string>& arguments,
                                                  std::string& error);

/// Runs the tool: 0 after printing the listing to `out`; 2 with one line on `err` for a
/// usage error or a main file that does not exist.
int RunReport(const std::vector<std::string>& arguments, std::string_view launch_dir,
              std::ostream& out, std::ostream& err);
