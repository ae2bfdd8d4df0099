#include "app/command_line.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/gtk_test_support.h"

namespace {

using gtk_test::TempProject;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(SelectionField, ReadsSignAndLeadingDigits) {
  EXPECT_EQ(SelectionField("12"), 12);
  EXPECT_EQ(SelectionField("-7"), -7);
  EXPECT_EQ(SelectionField("+7"), 7);
  EXPECT_EQ(SelectionField("9abc"), 9);
  EXPECT_EQ(SelectionField(""), 0);
  EXPECT_EQ(SelectionField("abc"), 0);
  EXPECT_EQ(SelectionField("-"), 0);
}

TEST(SelectionField, HugeNumbersClampToTheRange) {
  EXPECT_EQ(SelectionField("2147483647"), kMax);
  EXPECT_EQ(SelectionField("2147483648"), kMax);
  EXPECT_EQ(SelectionField("99999999999999999999999999"), kMax);
  EXPECT_EQ(SelectionField("-2147483648"), kMin);
  EXPECT_EQ(SelectionField("-99999999999999999999999999"), kMin);
}

TEST(IsSingleLineSelection, AcceptsASelectionInsideOneLine) {
  SelectionRange range;
  EXPECT_TRUE(IsSingleLineSelection("12x5x12x9", range));
  EXPECT_EQ(range.StartLine, 12);
  EXPECT_EQ(range.StartColumn, 5);
  EXPECT_EQ(range.EndLine, 12);
  EXPECT_EQ(range.EndColumn, 9);
}

TEST(IsSingleLineSelection, AWholeLineEndingAtColumnOneOfTheNextIsEmpty) {
  SelectionRange range;
  EXPECT_FALSE(IsSingleLineSelection("12x1x13x1", range));
  EXPECT_EQ(range.EndLine, 12);
  // From a later column it passes, on the line before the end.
  EXPECT_TRUE(IsSingleLineSelection("12x4x13x1", range));
}

TEST(IsSingleLineSelection, RejectsOtherShapes) {
  SelectionRange range;
  EXPECT_FALSE(IsSingleLineSelection("12x5", range));
  EXPECT_EQ(range.StartLine, 0);  // left alone
  EXPECT_FALSE(IsSingleLineSelection("12x5x13x9", range));
  EXPECT_FALSE(IsSingleLineSelection("3x3x3x3", range));
  EXPECT_FALSE(IsSingleLineSelection("1x2x3x4x5", range));
  EXPECT_FALSE(IsSingleLineSelection("", range));
}

TEST(IsSingleLineSelection, ExtremeNumbersDoNotOverflow) {
  SelectionRange range;
  // The lowest line has no line before it, so the end stays on the start line.
  EXPECT_TRUE(IsSingleLineSelection("-99999999999x5x-99999999999x1", range));
  EXPECT_EQ(range.EndLine, kMin);
  EXPECT_TRUE(IsSingleLineSelection("99999999999x1x99999999999x99999999999", range));
  EXPECT_EQ(range.StartLine, kMax);
}

TEST(ReadSelectedText, TakesTheColumnsOfTheStartLine) {
  TempProject project;
  const std::string path = project.Write("main.pb", "first\r\n  Foo(1)\nthird");
  EXPECT_EQ(ReadSelectedText(path, {2, 3, 2, 6}), "Foo");
  EXPECT_EQ(ReadSelectedText(path, {2, 0, 2, 2}), "  ");   // column below 1 counts as 1
  EXPECT_EQ(ReadSelectedText(path, {2, 5, 2, 99}), "o(1)");  // cut at the line's end
  EXPECT_EQ(ReadSelectedText(path, {3, 1, 3, 6}), "third");
  EXPECT_EQ(ReadSelectedText(path, {2, 6, 3, 1}), "");     // negative count
  EXPECT_EQ(ReadSelectedText(path, {4, 1, 4, 3}), "");     // no such line
  EXPECT_EQ(ReadSelectedText(path, {0, 1, 0, 3}), "");
  EXPECT_EQ(ReadSelectedText(project.Folder() + "/missing.pb", {1, 1, 1, 3}), "");
  EXPECT_EQ(ReadSelectedText(path, {1, kMin, 1, kMax}), "first");
}

TEST(ReadSelectedText, ColumnsCountCharactersInAValidUtf8Line) {
  TempProject project;
  // "Größe" and a four-byte character before "Foo"; the third line is ISO-8859-15 bytes.
  const std::string path = project.Write(
      "main.pb", "x = \"Gr\xC3\xB6\xC3\x9F" "e\" + Foo()\n\xF0\x9F\x98\x80 Foo()\nGr\xF6\xDF" "e Foo()\n");
  EXPECT_EQ(ReadSelectedText(path, {1, 6, 1, 11}), "Gr\xC3\xB6\xC3\x9F" "e");
  EXPECT_EQ(ReadSelectedText(path, {1, 15, 1, 18}), "Foo");
  EXPECT_EQ(ReadSelectedText(path, {2, 3, 2, 6}), "Foo");
  EXPECT_EQ(ReadSelectedText(path, {2, 1, 2, 2}), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ReadSelectedText(path, {2, 9, 2, 12}), "");   // past the line's end
  EXPECT_EQ(ReadSelectedText(path, {3, 7, 3, 10}), "Foo");  // bytes, as the line is no UTF-8
}

TEST(MainFileExists, FalseOnlyWhenNothingIsThere) {
  TempProject project;
  EXPECT_TRUE(MainFileExists(project.Write("main.pb", "")));
  EXPECT_TRUE(MainFileExists(project.Folder()));
  EXPECT_FALSE(MainFileExists(project.Folder() + "/missing.pb"));
  EXPECT_FALSE(MainFileExists(""));
}

TEST(MainFileFromParameter, TrimsTrailingBlanksAndAnchorsRelativePathsAtTheLaunchDirectory) {
  EXPECT_EQ(MainFileFromParameter("/p/main.pb  ", "/home/u"), "/p/main.pb");
  EXPECT_EQ(MainFileFromParameter("main.pb", "/home/u/project"), "/home/u/project/main.pb");
  EXPECT_EQ(MainFileFromParameter("src/main.pb ", "/"), "//src/main.pb");
  EXPECT_EQ(MainFileFromParameter(" ", "/home/u"), "");
  EXPECT_EQ(MainFileFromParameter("", "/home/u"), "");
}

TEST(WorkOutStartTerm, WordSelectionAndConstants) {
  EXPECT_EQ(WorkOutStartTerm("Foo", ""), "Foo(");
  EXPECT_EQ(WorkOutStartTerm("", "Bar"), "Bar(");
  EXPECT_EQ(WorkOutStartTerm("", "Bar("), "Bar(");
  EXPECT_EQ(WorkOutStartTerm("", ""), "(");
  EXPECT_EQ(WorkOutStartTerm("MAX", "#MAX"), "#MAX(");
  EXPECT_EQ(WorkOutStartTerm("MAX", "#MIN"), "#MIN(");  // only the length is compared
  EXPECT_EQ(WorkOutStartTerm("MAX", "#LONGER"), "MAX(");
  EXPECT_EQ(WorkOutStartTerm("Foo", "Bar"), "Foo(");
}

TEST(ReadParameters, SelectionFromTheMainFileAndRelativePaths) {
  TempProject project;
  project.Write("main.pb", "x = 1\nDebug Count(a)\n");
  const StartUpParameters start = ReadParameters({"main.pb ", "2x7x2x12", ""}, project.Folder());
  EXPECT_EQ(start.MainFile, project.Folder() + "/main.pb");
  EXPECT_EQ(start.SelectionText, "Count");
  EXPECT_EQ(start.StartTerm, "Count(");
}

TEST(ReadParameters, FromAnIncludeTabTheRecordedMainFileIsTakenUpAndTheTabsSelectionRead) {
  TempProject project;
  const std::string main = project.Write("main.pb", "IncludeFile \"tab.pbi\"\n");
  const std::string tab = project.Write(
      "tab.pbi", "Debug Total(a)\n; IDE Options = PureBasic 5.30\n; UseMainFile = main.pb\n");
  const std::string other = project.Write("other.pbi", "Debug Other(b)\n");
  const std::string pbp = project.Write(
      "p.pbp", "<project><section name=\"files\"><file name=\"other.pbi\"/></section>"
               "<section name=\"targets\"><target default=\"1\"><inputfile value=\"main.pb\"/>"
               "</target></section></project>");
  const std::string broken = project.Write("broken.pbp", "<project><section name=\"files\">");
  struct Case {
    const char* project_variable;
    const char* parameter;
    std::string main_file;
    const char* selection;
    MainFileOrigin origin;
  } cases[] = {
      {nullptr, "tab.pbi", main, "Total", MainFileOrigin::UseMainFile},
      {pbp.c_str(), "other.pbi", main, "Other", MainFileOrigin::IdeProject},  // lists the tab
      {broken.c_str(), "other.pbi", other, "Other", MainFileOrigin::Tab},
      {nullptr, "other.pbi", other, "Other", MainFileOrigin::Tab},
  };
  // Started by the IDE (which names itself), a file without a recorded main file is a tab.
  ::setenv("PB_TOOL_IDE", "/opt/purebasic/compilers/purebasic", 1);
  for (const Case& c : cases) {
    if (c.project_variable == nullptr) {
      ::unsetenv("PB_TOOL_Project");
    } else {
      ::setenv("PB_TOOL_Project", c.project_variable, 1);
    }
    const StartUpParameters start = ReadParameters({c.parameter, "1x7x1x12"}, project.Folder());
    EXPECT_EQ(start.MainFile, c.main_file) << c.parameter;
    EXPECT_EQ(start.SelectionText, c.selection) << c.parameter;
    EXPECT_EQ(start.Origin, c.origin) << c.parameter;
  }
  ::unsetenv("PB_TOOL_Project");
  ::unsetenv("PB_TOOL_IDE");
  EXPECT_EQ(ReadParameters({"other.pbi"}, project.Folder()).Origin, MainFileOrigin::Given);
}

TEST(ReadParameters, MissingFileIsForgottenAndExtraParametersIgnored) {
  TempProject project;
  const StartUpParameters start =
      ReadParameters({"nothing.pb", "1x1x1x3", "Foo", "ignored"}, project.Folder());
  EXPECT_EQ(start.MainFile, "");
  EXPECT_EQ(start.SelectionText, "");
  EXPECT_EQ(start.StartTerm, "Foo(");
  EXPECT_EQ(ReadParameters({}, project.Folder()).StartTerm, "(");
}

}  // namespace
