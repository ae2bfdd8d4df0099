#include "report/report_help.h"

#include "listings/listing_catalog.h"

namespace {

constexpr std::string_view kSynopsis =
    "usage: pb-sourcetrek-report [--json | --grep | --dot] [--find-main] LISTING MAINFILE [TEXT]\n"
    "       pb-sourcetrek-report --help | --version\n";

constexpr std::string_view kDescription =
    "\n"
    "Prints a listing of the PureBasic project of MAINFILE (the main file and every\n"
    "file it includes) as a table, as JSON or as lines for editors. A relative\n"
    "MAINFILE is taken from the current directory.\n";

constexpr std::string_view kOptions =
    "\n"
    "Options:\n"
    "  --json          one JSON object per line, in UTF-8\n"
    "  --grep          one \"path:line: text\" line per row with a file and a line, for\n"
    "                  Vim's quickfix list, Emacs' compilation mode or a VS Code task\n"
    "  --find-main     MAINFILE may be any file of the project: the main file that\n"
    "                  the PureBasic IDE records for it is taken up\n"
    "  --dot           a tree as a Graphviz digraph\n"
    "  -h, --help      print this help and exit\n"
    "  -V, --version   print the version and exit\n"
    "\n"
    "The options may stand anywhere, before LISTING or after its arguments, and\n"
    "\"--\" ends them: a word after it is LISTING, MAINFILE or TEXT.\n"
    "\n"
    "Exit status: 0, or 2 with one line on standard error for a usage error or a main\n"
    "file that does not exist. See pb-sourcetrek-report(1).\n";

/// "calls NAME", or the name alone for a listing without a text.
std::string Call(const ListingSummary& listing) {
  std::string call(listing.Name);
  if (!listing.Argument.empty()) call += " " + std::string(listing.Argument);
  return call;
}

/// One line of the listings' table: the call padded to a column, then the summary.
std::string ListingLine(const ListingSummary& listing) {
  constexpr size_t kColumn = 16;
  std::string line = "  " + Call(listing);
  line.append(line.size() < kColumn ? kColumn - line.size() : 1, ' ');
  return line + std::string(listing.Summary) + "\n";
}

}  // namespace

std::string ReportUsage(const std::vector<ListingSummary>& listings) {
  std::string usage =
      "usage: pb-sourcetrek-report [--json | --grep | --dot] [--find-main] LISTING MAINFILE "
      "[TEXT], "
      "LISTING one of ";
  for (size_t i = 0; i < listings.size(); ++i) {
    usage += (i > 0 ? ", " : "") + Call(listings[i]);
  }
  return usage;
}

std::string ReportHelp(const std::vector<ListingSummary>& listings) {
  std::string help(kSynopsis);
  help += kDescription;
  help += "\nListings:\n";
  for (const ListingSummary& listing : listings) help += ListingLine(listing);
  help += kOptions;
  return help;
}

namespace {

std::vector<ListingSummary> CatalogSummaries() {
  std::vector<ListingSummary> summaries;
  for (const ListingEntry& listing : ListingCatalog()) {
    summaries.push_back({listing.Name, listing.Usage, listing.Summary});
  }
  return summaries;
}

}  // namespace

std::string ReportUsage() { return ReportUsage(CatalogSummaries()); }

std::string ReportHelp() { return ReportHelp(CatalogSummaries()); }
