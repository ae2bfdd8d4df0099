#include "app/window_help.h"

#include <gtest/gtest.h>

#include <sstream>

#include "source/testing/program_run.h"

namespace {

TEST(WindowHelp, OnlyAFirstArgumentOfHelpOrVersionIsAnsweredAndAnythingElseIsARun) {
  std::ostringstream out;
  EXPECT_TRUE(AnswerInformationRequest({"-h", "ignored"}, out));
  EXPECT_EQ(out.str(), WindowHelp());
  // The second argument is the editor's selection, never an option.
  for (const std::vector<std::string>& run :
       std::vector<std::vector<std::string>>{{}, {"main.pb"}, {"main.pb", "--help"}, {"-x"}}) {
    std::ostringstream nothing;
    EXPECT_FALSE(AnswerInformationRequest(run, nothing));
    EXPECT_EQ(nothing.str(), "");
  }
}

TEST(WindowHelp, BuiltProgramAnswersOnStandardOutputWithoutADisplay) {
  // Without a display the program would end silently, had it started the toolkit first.
  const TestFolder folder;
  const RunEnvironment no_display{"", {"DISPLAY", "WAYLAND_DISPLAY"}};
  const ToolRun help = RunProgram(PBST_PROGRAM, folder.Path(), {"--help"}, no_display);
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(help.Out, WindowHelp());
  EXPECT_EQ(help.Err, "");
  const ToolRun version = RunProgram(PBST_PROGRAM, folder.Path(), {"-V"}, no_display);
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out, "pb-sourcetrek 0.20\xC3\x9F\n");
}

}  // namespace
