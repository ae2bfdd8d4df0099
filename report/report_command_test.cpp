#include "report/report_command.h"

#include <gtest/gtest.h>

using Arguments = std::vector<std::string>;

TEST(ReportArguments, ListingMainFileAndTextInThatOrder) {
  std::string error;
  const auto request = ParseReportArguments({"--json", "calls", "main.pb", "Foo"}, error);
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->Format, ReportFormat::Json);
  EXPECT_EQ(request->Listing, "calls");
  EXPECT_EQ(request->MainFile, "main.pb");
  EXPECT_EQ(request->Text, "Foo");
  const auto plain = ParseReportArguments({"files", "main.pb"}, error);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->Format, ReportFormat::Table);
  const auto grep = ParseReportArguments({"--grep", "lookup", "main.pb", "x"}, error);
  ASSERT_TRUE(grep.has_value());
  EXPECT_EQ(grep->Format, ReportFormat::Grep);
}

TEST(ReportArguments, HelpAndVersionAmongTheOptionsAskForNothingElse) {
  std::string error;
  for (const Arguments& arguments :
       {Arguments{"--help"}, Arguments{"-h", "nonsense"}, Arguments{"--json", "--help"}}) {
    const auto request = ParseReportArguments(arguments, error);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->Information, InformationRequest::Help);
  }
  const auto version = ParseReportArguments({"-V"}, error);
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->Information, InformationRequest::Version);
  // After LISTING they are texts like any other.
  const auto term = ParseReportArguments({"terms", "m.pb", "--help"}, error);
  ASSERT_TRUE(term.has_value());
  EXPECT_EQ(term->Information, InformationRequest::None);
  EXPECT_EQ(term->Text, "--help");
}

TEST(ReportArguments, WrongCountsUnknownListingsAndEmptyNamesAreUsageErrors) {
  for (const Arguments& arguments :
       {Arguments{}, Arguments{"--json"}, Arguments{"files"}, Arguments{"files", "m.pb", "x"},
        Arguments{"calls", "m.pb"}, Arguments{"calls", "m.pb", ""}, Arguments{"tree", "m.pb"},
        Arguments{"m.pb", "--json", "files"}, Arguments{"--json", "--grep", "files", "m.pb"},
        Arguments{"--grep", "--find-main", "--json", "files", "m.pb"}}) {
    std::string error;
    EXPECT_FALSE(ParseReportArguments(arguments, error).has_value()) << arguments.size();
    EXPECT_NE(error.find("usage"), std::string::npos);
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

TEST(ReportArguments, OptionsStandInAnyOrderBeforeTheListing) {
  for (const Arguments& arguments : {Arguments{"--find-main", "--json", "files", "t.pbi"},
                                     Arguments{"--json", "--find-main", "files", "t.pbi"}}) {
    std::string error;
    const auto request = ParseReportArguments(arguments, error);
    ASSERT_TRUE(request.has_value()) << error;
    EXPECT_TRUE(request->Format == ReportFormat::Json && request->FindMain);
    EXPECT_EQ(request->MainFile, "t.pbi");
  }
  std::string error;
  EXPECT_FALSE(ParseReportArguments({"files", "--find-main", "t.pbi"}, error).has_value());
  EXPECT_FALSE(ParseReportArguments({"--find", "files", "t.pbi"}, error).has_value());
}

TEST(ReportArguments, TermsAndLookupAcceptAnEmptyText) {
  std::string error;
  EXPECT_TRUE(ParseReportArguments({"terms", "m.pb", ""}, error).has_value());
  EXPECT_TRUE(ParseReportArguments({"lookup", "m.pb", ""}, error).has_value());
}

TEST(ReportArguments, DeclareCheckTakesFixBeforeOrAfterTheMainFileAndNoOtherListingDoes) {
  std::string error;
  for (const Arguments& arguments : {Arguments{"declare-check", "m.pb", "--fix"},
                                     Arguments{"declare-check", "--fix", "m.pb"}}) {
    const auto request = ParseReportArguments(arguments, error);
    ASSERT_TRUE(request.has_value());
    EXPECT_TRUE(request->OptionGiven);
    EXPECT_EQ(request->MainFile, "m.pb");
  }
  EXPECT_FALSE(ParseReportArguments({"declare-check", "m.pb"}, error)->OptionGiven);
  EXPECT_FALSE(ParseReportArguments({"unused", "m.pb", "--fix"}, error).has_value());
}

TEST(ReportArguments, TreeTakesDotBeforeItAndCallersAndDepthAfterItsName) {
  std::string error;
  const auto request =
      ParseReportArguments({"--dot", "tree", "m.pb", "Foo", "--depth", "32", "--callers"}, error);
  ASSERT_TRUE(request.has_value()) << error;
  EXPECT_EQ(request->Format, ReportFormat::Dot);
  EXPECT_TRUE(request->Callers);
  EXPECT_EQ(request->Depth, 32);
  const auto plain = ParseReportArguments({"tree", "m.pb", "Foo"}, error);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->Depth, 4);
  EXPECT_FALSE(plain->Callers);
  EXPECT_EQ(plain->Format, ReportFormat::Table);
  for (const Arguments& arguments :
       {Arguments{"tree", "m.pb", "Foo", "--depth", "0"}, Arguments{"tree", "m.pb", "Foo", "--depth", "33"},
        Arguments{"tree", "m.pb", "Foo", "--depth", "4x"}, Arguments{"tree", "m.pb", "Foo", "--depth"},
        Arguments{"tree", "m.pb", "Foo", "--json"}, Arguments{"calls", "m.pb", "Foo", "--callers"},
        Arguments{"--dot", "calls", "m.pb", "Foo"}, Arguments{"--json", "--dot", "tree", "m.pb", "Foo"},
        Arguments{"--grep", "tree", "m.pb", "Foo"},
        Arguments{"callees", "m.pb", ""}}) {
    EXPECT_FALSE(ParseReportArguments(arguments, error).has_value()) << arguments.back();
    EXPECT_NE(error.find("usage"), std::string::npos);
  }
}
