// End-to-end runs of the built pb-sourcetrek-report on small projects.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "source/folder_snapshot.h"
#include "source/test_folder.h"

namespace {

struct ToolRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

/// Runs the tool in `dir` with `arguments` (single-quoted for the shell; the tests pass
/// none with a quote in it).
ToolRun RunTool(const TestFolder& folder, const std::vector<std::string>& arguments) {
  std::string command = "cd '" + folder.Path() + "' && '" PBST_REPORT_TOOL "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  const std::string err_path = folder.Path() + "stderr.txt";
  command += " 2>'" + err_path + "'";
  ToolRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Out.append(buffer, got);
  const int status = ::pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Err = folder_snapshot::ReadWhole(err_path);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

/// main.pb calls Foo above its head and includes inc.pb, whose Baz is called above its
/// head too: the five-line Declare example.
void WriteDeclareProject(const TestFolder& folder) {
  folder.Write("main.pb",
               "XIncludeFile \"inc.pb\"\n"
               "x = Foo(1) + Bar() + Baz(2)\n"
               "Procedure.i Foo(a)\n"
               "EndProcedure\n"
               "Procedure Bar()\n"
               "EndProcedure\n");
  folder.Write("inc.pb", "\n\n\nProcedure Baz(x)\nEndProcedure\n");
}

}  // namespace

TEST(ReportTool, UsageErrorsAndMissingMainFileExitWithTwoAndOneLine) {
  TestFolder folder;
  folder.Write("main.pb", "x = 1\n");
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"nonsense", "main.pb"}, {"calls", "main.pb"},
        {"files", "missing.pb"}, {"files", "."}}) {
    const ToolRun run = RunTool(folder, arguments);
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(run.Out.empty());
    EXPECT_EQ(Lines(run.Err).size(), 1u) << run.Err;
  }
}

TEST(ReportTool, RelativeMainFileIsTakenFromTheLaunchDirectory) {
  TestFolder folder;
  folder.MakeFolder("p");
  folder.Write("p/main.pb", "IncludeFile \"a.pb\"\n");
  folder.Write("p/a.pb", "Procedure A()\nEndProcedure\n");
  const ToolRun run = RunTool(folder, {"--json", "files", "p/main.pb"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "{\"path\": \"" + folder.Path() + "p/main.pb\", \"included_by\": \"\", \"include_line\": 0}\n"
            "{\"path\": \"" + folder.Path() + "p/a.pb\", \"included_by\": \"main.pb\", \"include_line\": 1}\n");
  EXPECT_TRUE(run.Err.empty());
}

TEST(ReportTool, JsonListsStartWithTheListLineAndHaveOneLinePerRow) {
  TestFolder folder;
  WriteDeclareProject(folder);
  const ToolRun procedures = RunTool(folder, {"--json", "procedures", "main.pb"});
  EXPECT_EQ(procedures.Status, 0);
  const auto lines = Lines(procedures.Out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0],
            "{\"list\": {\"kind\": \"\", \"subject\": \"Procedures\", \"caption\": "
            "\"Procedures...\", \"selector\": \"Procedures(\"}}");
  EXPECT_EQ(lines[3],
            "{\"cells\": [\"     4\", \"\", \"\", \"Procedure Baz(x)\", \"inc.pb\"], "
            "\"bg\": [[185,255,255], [185,255,255], [185,255,255], [185,255,255], [185,255,255]], "
            "\"fg\": [null, null, null, null, null]}");

  const ToolRun lookup = RunTool(folder, {"--json", "lookup", "main.pb", "x"});
  const auto lookup_lines = Lines(lookup.Out);
  // x is no procedure: the term search finds it in main.pb and in Baz's parameter list,
  // each file's rows behind a separator.
  ASSERT_EQ(lookup_lines.size(), 5u);
  EXPECT_EQ(lookup_lines[0],
            "{\"list\": {\"kind\": \"Terms: \", \"subject\": \"x\", \"caption\": \"Terms: x...\", "
            "\"selector\": \"x\"}}");
}

TEST(ReportTool, DeclaresAreWrittenRawWithCrLf) {
  TestFolder folder;
  WriteDeclareProject(folder);
  for (const char* json : {"", "--json"}) {
    std::vector<std::string> arguments{"declares", "main.pb"};
    if (*json != '\0') arguments.insert(arguments.begin(), json);
    const ToolRun run = RunTool(folder, arguments);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              ";inc.pb\r\n"
              "Declare Baz(x)\r\n"
              "; Declares from: main.pb\r\n"
              "Declare Bar()\r\n"
              "Declare.i Foo(a)\r\n");
  }
}

TEST(ReportTool, DeclaresWithoutCandidatesWritesNothing) {
  TestFolder folder;
  folder.Write("main.pb", "Procedure Foo()\nEndProcedure\nFoo()\n");
  const ToolRun run = RunTool(folder, {"declares", "main.pb"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "");
}

TEST(ReportTool, TableShowsCaptionAndMarks) {
  TestFolder folder;
  WriteDeclareProject(folder);
  const ToolRun run = RunTool(folder, {"all-calls", "main.pb"});
  EXPECT_EQ(run.Status, 0);
  const auto lines = Lines(run.Out);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "All Procedure-Calls......");
  EXPECT_EQ(lines[1].substr(0, 5), "Marks");
  EXPECT_EQ(lines[2].substr(0, 17), "called above head");
}

TEST(ReportTool, SourceBytesThatAreNotUtf8AreConvertedPerCell) {
  TestFolder folder;
  folder.Write("main.pb", "Procedure F\xE4hre()\nEndProcedure\nx = \"\xC3\xA4\" : F\xE4hre()\n");
  const ToolRun run = RunTool(folder, {"--json", "calls", "main.pb", "F\xE4hre"});
  const auto lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find("\"subject\": \"F\xC3\xA4hre\""), std::string::npos) << lines[0];
  // The line holds both an ISO-8859-15 byte and a UTF-8 pair, so it is not valid UTF-8
  // as a whole and every byte of it is converted (0xA4 is the euro sign in ISO-8859-15).
  EXPECT_NE(lines[2].find("x = \\\"\xC3\x83\xE2\x82\xAC\\\" : F\xC3\xA4hre()"), std::string::npos) << lines[2];
}
