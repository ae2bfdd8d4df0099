#include "report/report_arguments.h"

#include <gtest/gtest.h>

#include <algorithm>

using Arguments = std::vector<std::string>;

namespace {

/// What a parse gave, as one comparable text; the error for a refused command line.
std::string Parsed(const Arguments& arguments) {
  std::string error;
  const std::optional<ReportRequest> request = ParseReportArguments(arguments, error);
  if (!request) return "error: " + error.substr(0, error.find("; usage: "));
  return std::to_string(static_cast<int>(request->Format)) + " " + request->Listing + " " +
         request->MainFile + " [" + request->Text + "]" + (request->FindMain ? " find-main" : "") +
         (request->Fix ? " fix" : "") + (request->Callers ? " callers" : "") + " depth " +
         std::to_string(request->Depth);
}

}  // namespace

// Every order of the options around the operands gives the same request.
TEST(ReportArguments, OptionsMayStandAnywhereAroundTheOperands) {
  const Arguments operands = {"tree", "m.pb", "Main"};
  Arguments options = {"--callers", "--dot", "--find-main"};
  std::sort(options.begin(), options.end());
  const std::string wanted = "3 tree m.pb [Main] find-main callers depth 4";
  do {
    for (size_t at = 0; at <= operands.size(); ++at) {
      // The options go in before operand `at`, one after the other.
      Arguments arguments(operands.begin(), operands.begin() + static_cast<std::ptrdiff_t>(at));
      arguments.insert(arguments.end(), options.begin(), options.end());
      arguments.insert(arguments.end(), operands.begin() + static_cast<std::ptrdiff_t>(at),
                       operands.end());
      EXPECT_EQ(Parsed(arguments), wanted) << ::testing::PrintToString(arguments);
    }
  } while (std::next_permutation(options.begin(), options.end()));
  EXPECT_EQ(Parsed({"--depth", "7", "tree", "m.pb", "Main"}), "0 tree m.pb [Main] depth 7");
  EXPECT_EQ(Parsed({"tree", "m.pb", "--depth", "32", "Main"}), "0 tree m.pb [Main] depth 32");
  EXPECT_EQ(Parsed({"declare-check", "--fix", "m.pb", "--json"}), "1 declare-check m.pb [] fix depth 4");
  EXPECT_EQ(Parsed({"calls", "m.pb", "Foo", "--grep"}), "2 calls m.pb [Foo] depth 4");
}

// After "--" every word is an operand, options and help alike; "-" alone always is one.
TEST(ReportArguments, DoubleDashEndsTheOptions) {
  EXPECT_EQ(Parsed({"terms", "m.pb", "--", "--json"}), "0 terms m.pb [--json] depth 4");
  EXPECT_EQ(Parsed({"--json", "--", "terms", "m.pb", "--help"}), "1 terms m.pb [--help] depth 4");
  EXPECT_EQ(Parsed({"terms", "--", "m.pb", "-"}), "0 terms m.pb [-] depth 4");
  EXPECT_EQ(Parsed({"terms", "m.pb", "-"}), "0 terms m.pb [-] depth 4");
  EXPECT_EQ(Parsed({"--", "--find-main", "files"}), "error: unknown listing --find-main");
  EXPECT_EQ(Parsed({"terms", "m.pb", "--", "a", "--", "b"}),
            "error: terms takes no further argument, not --");
}

TEST(ReportArguments, HelpAndVersionAnywhereAskForNothingElse) {
  for (const Arguments& arguments :
       {Arguments{"--help"}, Arguments{"-h", "nonsense"}, Arguments{"--json", "--help"},
        Arguments{"terms", "m.pb", "x", "--help"}, Arguments{"files", "-h", "--bogus"}}) {
    std::string error;
    const auto request = ParseReportArguments(arguments, error);
    ASSERT_TRUE(request.has_value()) << error;
    EXPECT_EQ(request->Information, InformationRequest::Help);
  }
  std::string error;
  EXPECT_EQ(ParseReportArguments({"calls", "m.pb", "-V"}, error)->Information,
            InformationRequest::Version);
}

// Each error is one line that names what is wrong (the option, the listing) and ends in
// the usage.
TEST(ReportArguments, UsageErrorsNameTheOptionAndTheListing) {
  const std::pair<Arguments, std::string> cases[] = {
      {{}, "no listing given"},
      {{"--json"}, "no listing given"},
      {{"m.pb", "files"}, "unknown listing m.pb"},
      {{"files"}, "files needs MAINFILE"},
      {{"calls", "m.pb"}, "calls needs MAINFILE and NAME"},
      {{"files", "m.pb", "x"}, "files takes no further argument, not x"},
      {{"calls", "m.pb", ""}, "calls needs a name that is not empty"},
      {{"callees", "m.pb", ""}, "callees needs a name that is not empty"},
      {{"--find", "files", "m.pb"}, "unknown option --find"},
      {{"files", "m.pb", "-x"}, "unknown option -x"},
      {{"--json", "--grep", "files", "m.pb"}, "one format at most: --json, --grep or --dot"},
      {{"files", "m.pb", "--json", "--dot"}, "one format at most: --json, --grep or --dot"},
      {{"unused", "m.pb", "--fix"}, "--fix does not go with unused"},
      {{"--callers", "calls", "m.pb", "Foo"}, "--callers does not go with calls"},
      {{"calls", "m.pb", "Foo", "--depth", "2"}, "--depth does not go with calls"},
      {{"--dot", "calls", "m.pb", "Foo"}, "--dot does not go with calls"},
      {{"tree", "m.pb", "Foo", "--grep"}, "--grep does not go with tree"},
      {{"tree", "m.pb", "Foo", "--depth", "0"}, "--depth takes a number from 1 to 32"},
      {{"tree", "m.pb", "Foo", "--depth", "33"}, "--depth takes a number from 1 to 32"},
      {{"tree", "m.pb", "Foo", "--depth", "4x"}, "--depth takes a number from 1 to 32"},
      {{"tree", "m.pb", "Foo", "--depth"}, "--depth takes a number from 1 to 32"},
  };
  for (const auto& [arguments, wanted] : cases) {
    std::string error;
    EXPECT_FALSE(ParseReportArguments(arguments, error).has_value()) << wanted;
    EXPECT_EQ(error.rfind(wanted + "; usage: pb-sourcetrek-report ", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

TEST(ReportArguments, TermsAndLookupAcceptAnEmptyTextAndTreesDefaultToFourLevels) {
  EXPECT_EQ(Parsed({"terms", "m.pb", ""}), "0 terms m.pb [] depth 4");
  EXPECT_EQ(Parsed({"lookup", "m.pb", ""}), "0 lookup m.pb [] depth 4");
  EXPECT_EQ(Parsed({"tree", "m.pb", "Foo"}), "0 tree m.pb [Foo] depth 4");
}
