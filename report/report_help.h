// The text that `pb-sourcetrek-report --help` prints: how to call the tool, its listings
// with what each prints, its options and its exit status.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// One listing as the help names it.
struct ListingSummary {
  std::string_view Name;      ///< the subcommand, "calls"
  std::string_view Argument;  ///< its TEXT argument, "NAME"; empty for none
  std::string_view Summary;   ///< what it prints, one line
};

/// The one-line usage that usage errors end with, naming every listing of `listings`.
std::string ReportUsage(const std::vector<ListingSummary>& listings);

/// The whole help: the usage, what the tool does, one line per listing of `listings`, the
/// options and the exit status.
std::string ReportHelp(const std::vector<ListingSummary>& listings);

/// `ReportUsage` of the catalog's listings.
std::string ReportUsage();

/// `ReportHelp` of the catalog's listings.
std::string ReportHelp();
