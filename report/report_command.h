// The run of one listing of pb-sourcetrek-report, from its command line through the
// take-up of the main file to the output.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

/// Runs the tool: 0 after printing the listing, the help or the version to `out`; 2 with one
/// line on `err` for a usage error or a main file that does not exist.
int RunReport(const std::vector<std::string>& arguments, std::string_view launch_dir,
              std::ostream& out, std::ostream& err);
