#include "app/window_help.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string Answer(const std::vector<std::string>& arguments, bool answered = true) {
  std::ostringstream out;
  EXPECT_EQ(AnswerInformationRequest(arguments, out), answered);
  return out.str();
}

TEST(WindowHelp, FirstArgumentAsksForHelpOrVersion) {
  EXPECT_EQ(Answer({"--help"}), WindowHelp());
  EXPECT_EQ(Answer({"-h", "ignored"}), WindowHelp());
  EXPECT_EQ(Answer({"--version"}), "pb-sourcetrek 0.20\xC3\x9F\n");
  EXPECT_EQ(Answer({"-V"}), "pb-sourcetrek 0.20\xC3\x9F\n");
  EXPECT_EQ(WindowHelp().rfind("usage: pb-sourcetrek [MAINFILE [SELECTION [WORD]]]\n", 0), 0u);
}

TEST(WindowHelp, AnythingElseIsARunAndPrintsNothing) {
  // Only the first argument is an option: the second is the editor's selection.
  for (const std::vector<std::string>& run :
       std::vector<std::vector<std::string>>{{}, {"main.pb"}, {"main.pb", "--help"}, {"-x"}}) {
    EXPECT_EQ(Answer(run, false), "");
  }
}

}  // namespace
