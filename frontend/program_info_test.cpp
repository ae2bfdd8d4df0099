#include "frontend/program_info.h"

#include <gtest/gtest.h>

TEST(ProgramInfo, ShortAndLongOptionsAskForHelpOrVersionAndNothingElseDoes) {
  EXPECT_EQ(RequestedInformation("-h"), InformationRequest::Help);
  EXPECT_EQ(RequestedInformation("--help"), InformationRequest::Help);
  EXPECT_EQ(RequestedInformation("-V"), InformationRequest::Version);
  EXPECT_EQ(RequestedInformation("--version"), InformationRequest::Version);
  for (const char* other : {"", "-", "-v", "--Help", "--help=x", "help", "main.pb"}) {
    EXPECT_EQ(RequestedInformation(other), InformationRequest::None) << other;
  }
}

TEST(ProgramInfo, VersionLineIsTheVersionOfTheAboutDialogInUtf8) {
  EXPECT_EQ(VersionLine("pb-sourcetrek"), "pb-sourcetrek 0.20\xC3\x9F\n");
}
