#include "report/report_help.h"

#include <gtest/gtest.h>

namespace {

const std::vector<ListingSummary> kListings = {
    {"files", "", "the files"},
    {"calls", "NAME", "the calls of NAME"},
    {"a-very-long-name", "ARGUMENT", "still apart"},
};

TEST(ReportHelp, UsageNamesEveryListingWithItsArgument) {
  EXPECT_EQ(ReportUsage(kListings),
            "usage: pb-sourcetrek-report [--json | --grep | --dot] [--find-main] LISTING MAINFILE "
            "[TEXT], LISTING one of files, calls NAME, a-very-long-name ARGUMENT");
}

TEST(ReportHelp, ListsTheListingsInTheirOrderInOneColumnBetweenUsageAndOptions) {
  const std::string help = ReportHelp(kListings);
  EXPECT_EQ(help.rfind("usage: pb-sourcetrek-report [--json | --grep | --dot] [--find-main] "
                       "LISTING MAINFILE [TEXT]\n"
                       "       pb-sourcetrek-report --help | --version\n",
                       0),
            0u);
  const size_t listings = help.find("\nListings:\n"
                                    "  files         the files\n"
                                    "  calls NAME    the calls of NAME\n"
                                    "  a-very-long-name ARGUMENT still apart\n");
  EXPECT_NE(listings, std::string::npos) << help;
  EXPECT_GT(help.find("\n  -V, --version   print the version and exit\n"), listings);
  EXPECT_EQ(help.back(), '\n');
}

}  // namespace
