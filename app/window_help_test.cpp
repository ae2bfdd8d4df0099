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
       std::vector<std::vector<std::string>>{{}, {"main.pb"}, {"main.pb", "--help"}}) {
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

// A run that cannot show its window says why on standard error and fails, instead of
// ending silently with status 0; only the first argument can be an option.
TEST(WindowHelp, NoDisplayAndUnknownOptionsFailWithALineOnStandardError) {
  const TestFolder folder;
  folder.Write("main.pb", "Procedure Main()\nEndProcedure\n");
  const RunEnvironment no_display{"", {"DISPLAY", "WAYLAND_DISPLAY"}};
  const ToolRun run = RunProgram(PBST_PROGRAM, folder.Path(), {"main.pb"}, no_display);
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.Err, "pb-sourcetrek: cannot open display (DISPLAY is not set)\n");
  const ToolRun unknown = RunProgram(PBST_PROGRAM, folder.Path(), {"-x", "main.pb"}, no_display);
  EXPECT_EQ(unknown.Status, 2);
  EXPECT_EQ(unknown.Err.rfind("pb-sourcetrek: unknown option -x; usage: pb-sourcetrek [", 0), 0u)
      << unknown.Err;
  std::ostringstream err;
  EXPECT_FALSE(RefuseUnknownOption({"main.pb", "-1x2x3x4", "-x"}, err));
  EXPECT_FALSE(RefuseUnknownOption({"-"}, err));
  EXPECT_EQ(err.str(), "");
}

}  // namespace
