// End-to-end runs of the built pb-sourcetrek-report on small projects.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "listings/testing/listing_test_support.h"
#include "report/report_tool_runner.h"
#include "source/testing/test_folder.h"

namespace {

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
        {"files", "missing.pb"}, {"files", "."}, {"--json", "--grep", "files", "main.pb"}}) {
    const ToolRun run = RunTool(folder.Path(), arguments);
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(run.Out.empty());
    EXPECT_EQ(Lines(run.Err).size(), 1u) << run.Err;
  }
}

TEST(ReportTool, HelpAndVersionGoToStandardOutputWithStatusZero) {
  TestFolder folder;
  for (const char* option : {"--help", "-h"}) {
    const ToolRun run = RunTool(folder.Path(), {option});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.rfind("usage: pb-sourcetrek-report [--json | --grep | --dot] [--find-main]", 0),
              0u);
    EXPECT_NE(run.Out.find("\n  lookup TEXT "), std::string::npos) << run.Out;
    EXPECT_TRUE(run.Err.empty());
  }
  for (const char* option : {"--version", "-V"}) {
    const ToolRun run = RunTool(folder.Path(), {option});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "pb-sourcetrek-report 0.20\xC3\x9F\n");
    EXPECT_TRUE(run.Err.empty());
  }
}

TEST(ReportTool, GrepGivesEditorsTheFullPathAndLineOfEveryRow) {
  TestFolder folder;
  WriteDeclareProject(folder);
  const ToolRun run = RunTool(folder.Path(), {"--grep", "all-calls", "main.pb"});
  EXPECT_EQ(run.Status, 0);
  const std::string main = folder.Path() + "main.pb:";
  EXPECT_EQ(run.Out, main + "3: [called above head] Procedure.i Foo(a)\n" +
                         main + "2: x = Foo(1) + Bar() + Baz(2)\n" +
                         main + "5: [called above head] Procedure Bar()\n" +
                         main + "2: x = Foo(1) + Bar() + Baz(2)\n" +
                         folder.Path() + "inc.pb:4: [called above head] Procedure Baz(x)\n" +
                         main + "2: x = Foo(1) + Bar() + Baz(2)\n");
  const ToolRun files = RunTool(folder.Path(), {"--grep", "files", "main.pb"});
  EXPECT_EQ(files.Out, main + "1: main file\n" + folder.Path() +
                           "inc.pb:1: included by main.pb, line 1\n");
}

TEST(ReportTool, RelativeMainFileIsTakenFromTheLaunchDirectory) {
  TestFolder folder;
  folder.MakeFolder("p");
  folder.Write("p/main.pb", "IncludeFile \"a.pb\"\n");
  folder.Write("p/a.pb", "Procedure A()\nEndProcedure\n");
  const ToolRun run = RunTool(folder.Path(), {"--json", "files", "p/main.pb"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "{\"path\": \"" + folder.Path() + "p/main.pb\", \"included_by\": \"\", \"include_line\": 0}\n"
            "{\"path\": \"" + folder.Path() + "p/a.pb\", \"included_by\": \"main.pb\", \"include_line\": 1}\n");
  EXPECT_TRUE(run.Err.empty());
}

TEST(ReportTool, JsonListsStartWithTheListLineAndHaveOneLinePerRow) {
  TestFolder folder;
  WriteDeclareProject(folder);
  const ToolRun procedures = RunTool(folder.Path(), {"--json", "procedures", "main.pb"});
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

  const ToolRun lookup = RunTool(folder.Path(), {"--json", "lookup", "main.pb", "x"});
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
    const ToolRun run = RunTool(folder.Path(), arguments);
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
  const ToolRun run = RunTool(folder.Path(), {"declares", "main.pb"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "");
}

TEST(ReportTool, TableShowsCaptionAndMarks) {
  TestFolder folder;
  WriteDeclareProject(folder);
  const ToolRun run = RunTool(folder.Path(), {"all-calls", "main.pb"});
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
  const ToolRun run = RunTool(folder.Path(), {"--json", "calls", "main.pb", "F\xE4hre"});
  const auto lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find("\"subject\": \"F\xC3\xA4hre\""), std::string::npos) << lines[0];
  // The line holds both an ISO-8859-15 byte and a UTF-8 pair, so it is not valid UTF-8
  // as a whole and every byte of it is converted (0xA4 is the euro sign in ISO-8859-15).
  EXPECT_NE(lines[2].find("x = \\\"\xC3\x83\xE2\x82\xAC\\\" : F\xC3\xA4hre()"), std::string::npos) << lines[2];
}

TEST(ReportTool, FilesOfIncludeExpressionsAreListedAndThoseNotReadAreMarked) {
  TestFolder folder;
  folder.MakeFolder("inc");
  folder.Write("main.pb",
               "#Inc$ = \"inc/\"\n"
               "XIncludeFile #Inc$ + \"a.pb\"\n"
               "IncludeFile #Nope + \"b.pb\" ; never defined\n");
  folder.Write("inc/a.pb", "Procedure A()\nEndProcedure\n");
  const ToolRun files = RunTool(folder.Path(), {"--json", "files", "main.pb"});
  EXPECT_EQ(files.Out,
            "{\"path\": \"" + folder.Path() + "main.pb\", \"included_by\": \"\", \"include_line\": 0}\n"
            "{\"path\": \"" + folder.Path() + "inc/a.pb\", \"included_by\": \"main.pb\", \"include_line\": 2}\n"
            "{\"path\": \"" + folder.Path() + "#Nope + b.pb\", \"included_by\": \"main.pb\", "
            "\"include_line\": 3, \"readable\": false, \"statement\": \"IncludeFile #Nope + \\\"b.pb\\\"\"}\n");
  const ToolRun procedures = RunTool(folder.Path(), {"procedures", "main.pb"});
  EXPECT_NE(procedures.Out.find("Procedure A()  a.pb"), std::string::npos) << procedures.Out;
}

TEST(ReportTool, FindMainTakesUpTheMainFileThatTheIdeRecordsForATab) {
  TestFolder folder;
  folder.MakeFolder("inc");
  folder.Write("main.pb", "XIncludeFile \"inc/tab.pbi\"\nXIncludeFile \"inc/other.pbi\"\nx = Helper(1)\n");
  folder.Write("inc/tab.pbi",
               "Procedure Helper(a)\nEndProcedure\n; IDE Options = PureBasic 5.30\n; UseMainFile = ../main.pb\n");
  folder.Write("inc/other.pbi", "y = Helper(2)\n");
  folder.Write("p.pbp", "<project><section name=\"files\"><file name=\"inc/other.pbi\"/></section>"
                        "<section name=\"targets\"><target default=\"1\"><inputfile value=\"main.pb\"/>"
                        "</target></section></project>");
  // Both hints lead to main.pb: the calls of Helper from both files are found.
  ::setenv("PB_TOOL_Project", (folder.Path() + "p.pbp").c_str(), 1);
  for (const std::string tab : {"inc/tab.pbi", "inc/other.pbi"}) {
    const ToolRun run = RunTool(folder.Path(), {"--find-main", "lookup", tab, "Helper"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("x = Helper(1)"), std::string::npos) << tab << "\n" << run.Out;
    EXPECT_NE(run.Out.find("y = Helper(2)"), std::string::npos) << tab;
  }
  ::unsetenv("PB_TOOL_Project");
  // Without the option, or without a hint, the file given is the main file.
  const ToolRun plain = RunTool(folder.Path(), {"files", "inc/other.pbi"});
  EXPECT_EQ(Lines(plain.Out).size(), 2u) << plain.Out;
  const ToolRun no_hint = RunTool(folder.Path(), {"--json", "--find-main", "files", "inc/other.pbi"});
  EXPECT_EQ(Lines(no_hint.Out).size(), 1u) << no_hint.Out;
}

// A project made on Windows (fixtures/windows_project): every file starts with a
// byte-order mark, includes are written with "\" and in other letter cases, and the
// project file names its main file so.
TEST(ReportTool, WindowsMadeProjectFileTakesUpEveryFile) {
  const std::string root = PBST_FIXTURES "/windows_project/";
  const ToolRun files = RunTool(root, {"--grep", "files", "PhotoBase.pbp"});
  EXPECT_EQ(files.Status, 0) << files.Err;
  EXPECT_EQ(files.Out, root + "Source/PhotoBase.pb:1: main file\n" +
                           root + "Source/Config.pbi:1: included by PhotoBase.pb, line 1\n" +
                           root + "Source/Modules/SearchWin.pbi:1: included by PhotoBase.pb, line 5\n" +
                           root + "Source/Modules/SearchWin_Impl.pbi:1: included by PhotoBase.pb, line 6\n" +
                           root + "Source/Common//Strings.pbi:1: included by PhotoBase.pb, line 8\n" +
                           root + "Source/Common//Version.pbi:1: included by PhotoBase.pb, line 9\n");
  // Heads on line 1, and the module's Declares, are seen through the marks.
  const std::string procedures = RunTool(root, {"--grep", "procedures", "PhotoBase.pbp"}).Out;
  EXPECT_NE(procedures.find("Source/Config.pbi:1: Procedure LoadSettings()\n"), std::string::npos) << procedures;
  EXPECT_NE(procedures.find("SearchWin_Impl.pbi:2: [Module SearchWin] Procedure.i Open()\n"), std::string::npos)
      << procedures;
  const std::vector<std::string> check = Lines(RunTool(root, {"--json", "declare-check", "PhotoBase.pbp"}).Out);
  ASSERT_EQ(check.size(), 3u);  // the list, the separator and the sum: no finding
  EXPECT_NE(check[2].find("0 missing, 0 differs, 0 orphan"), std::string::npos) << check[2];
  EXPECT_EQ(RunTool(root, {"--grep", "calls", "PhotoBase.pbp", "SearchWin::Open"}).Out,
            root + "Source/PhotoBase.pb:13: If SearchWin::Open()\n" +
                root + "Source/Modules/SearchWin.pbi:2: Declare.i Open()\n");
  // A file that holds only the IDE's options names the main file as "..\photobase.pb".
  const ToolRun found = RunTool(root + "Source/Common", {"--find-main", "--grep", "files", "Version.pbi"});
  EXPECT_EQ(Lines(found.Out).size(), 6u) << found.Out;
  EXPECT_EQ(found.Out.substr(0, found.Out.find(':')), root + "Source/Common/../PhotoBase.pb");
}

TEST(ReportTool, DeclareCheckFixPrintsTheDeclaresThatCompileOrderNeeds) {
  // Baz's head is in inc.pb, read at main's line 1, so unlike the declares listing the
  // check needs no Declare for it.
  TestFolder folder;
  WriteDeclareProject(folder);
  const ToolRun fix = RunTool(folder.Path(), {"declare-check", "main.pb", "--fix"});
  EXPECT_EQ(fix.Status, 0);
  EXPECT_EQ(fix.Out, ";main.pb\r\nDeclare Bar()\r\nDeclare.i Foo(a)\r\n");
  const ToolRun unused = RunTool(folder.Path(), {"--json", "unused", "main.pb"});
  const auto lines = Lines(unused.Out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "{\"list\": {\"kind\": \"\", \"subject\": \"Unused\", \"caption\": \"Unused...\", "
                      "\"selector\": \"Unused\"}}");
  EXPECT_NE(lines[2].find("\"0 never called, 0 only called by unused\""), std::string::npos);
}

TEST(ReportTool, CalleesAndTreesAsTableTextJsonAndDot) {
  TestFolder folder;
  folder.Write("main.pb",
               "Procedure Walk(n)\n"
               "  If n > 0 : Walk(n - 1) : EndIf\n"
               "  Leaf() : leaf()\n"
               "EndProcedure\n"
               "Procedure Leaf()\n"
               "EndProcedure\n"
               "Walk(2)\n");
  EXPECT_EQ(RunTool(folder.Path(), {"callees", "main.pb", "Walk"}).Out,
            "Calls in: Walk...\n"
            "Marks              Line  Calls                           Count  (in) Function             in File\n"
            "                      2  If n > 0 : Walk(n - 1) : EndIf              1 Procedure Walk(n)  main.pb\n"
            "called above head     3  Leaf() : leaf()                             5 Procedure Leaf()   main.pb\n");
  EXPECT_EQ(RunTool(folder.Path(), {"tree", "main.pb", "Walk"}).Out,
            "Walk  main.pb:1\n"
            "  Walk  main.pb:1  1 site  recursive\n"
            "  Leaf  main.pb:5  1 site\n");
  EXPECT_EQ(RunTool(folder.Path(), {"--json", "tree", "main.pb", "Leaf", "--callers", "--depth", "1"}).Out,
            "{\"depth\": 0, \"name\": \"Leaf\", \"file\": \"main.pb\", \"line\": 5, \"sites\": 0, \"mark\": \"\"}\n"
            "{\"depth\": 1, \"name\": \"Walk\", \"file\": \"main.pb\", \"line\": 1, \"sites\": 1, \"mark\": \"\"}\n");
  const std::string dot = RunTool(folder.Path(), {"--dot", "tree", "main.pb", "Leaf", "--callers"}).Out;
  EXPECT_NE(dot.find("  p1 [label=\"Leaf\\nmain.pb:5\"];\n"), std::string::npos) << dot;
  EXPECT_NE(dot.find("  main -> p0 [label=\"1\"];\n"), std::string::npos) << dot;
  EXPECT_NE(dot.find("  p0 -> p0 [label=\"1\", style=dashed];\n"), std::string::npos) << dot;
  EXPECT_NE(dot.find("  p0 -> p1 [label=\"1\"];\n"), std::string::npos) << dot;
  EXPECT_EQ(dot.substr(dot.size() - 2), "}\n");
}

namespace {

/// `text` without blanks and tabs.
std::string Unblanked(std::string_view text) {
  std::string result;
  for (const char c : text) {
    if (c != ' ' && c != '\t') result += c;
  }
  return result;
}

/// Line `number` of the file at `path`; empty when it has fewer lines.
std::string FileLine(const std::string& path, int number) {
  std::ifstream in(path);
  std::string line;
  for (int at = 1; at <= number && std::getline(in, line); ++at) {
    if (at == number) return line;
  }
  return "";
}

}  // namespace

TEST(ReportTool, GrepLinesOfEveryListingHoldTheirTextAlsoWhereFilesShareAName) {
  TestFolder folder;
  WriteSameNameProject(folder);
  const std::vector<std::vector<std::string>> listings = {
      {"procedures"},        {"all-calls"},          {"calls", "Helper"}, {"calls", "Tool"},
      {"terms", "Helper"},   {"lookup", "Template"}, {"unused"},          {"declare-check"},
      {"callees", "Tool"},   {"callees", "Main"}};
  std::set<std::string> paths;
  for (const std::vector<std::string>& listing : listings) {
    SCOPED_TRACE(listing.front());
    std::vector<std::string> arguments = {"--grep", listing.front(), "main.pb"};
    arguments.insert(arguments.end(), listing.begin() + 1, listing.end());
    const ToolRun run = RunTool(folder.Path(), arguments);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const auto lines = Lines(run.Out);
    EXPECT_FALSE(lines.empty());
    for (const std::string& line : lines) {
      // "path:line: [notes] text"
      const size_t colon = line.find(':');
      const size_t text_start = line.find(": ", colon + 1) + 2;
      std::string_view text = std::string_view(line).substr(text_start);
      if (!text.empty() && text.front() == '[') text.remove_prefix(text.find("] ") + 2);
      const std::string path = line.substr(0, colon);
      paths.insert(path);
      const std::string source = FileLine(path, std::stoi(line.substr(colon + 1)));
      EXPECT_NE(Unblanked(source).find(Unblanked(text)), std::string::npos)
          << line << "\n  the line holds: " << source;
    }
  }
  // Rows of both Misc.pb and of the readable Templates.pb were printed, none of the missing one.
  EXPECT_EQ(paths, (std::set<std::string>{folder.Path() + "main.pb", folder.Path() + "Templates.pb",
                                          folder.Path() + "Common/Misc.pb",
                                          folder.Path() + "Tools/Misc.pb"}));
}

TEST(ReportTool, DeclareCheckOfTheChecksExampleListsItsRealFindingsOnly) {
  // The example names procedures on Prototype, Macro, Interface, Structure and Import
  // lines, calls one from a macro body, and has Declares that differ from their heads in
  // names only: none of that is a finding. Each row as its first three cells.
  const ToolRun run = RunTool(PBST_CHECKS_EXAMPLE, {"--json", "declare-check", "main.pb"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  std::vector<std::string> rows;
  for (const std::string& line : Lines(run.Out)) {
    if (line.rfind("{\"cells\": [\"", 0) != 0) continue;
    std::string row;
    size_t at = line.find('"', line.find('['));
    for (int cell = 0; cell < 3; ++cell) {
      const size_t end = line.find("\", \"", at + 1);
      row += (cell == 0 ? "" : "|") + line.substr(at + 1, end - at - 1);
      at = end + 3;
    }
    rows.push_back(row);
  }
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "45|Declare Resize(Width, Height)|differs: number of parameters: 2 vs 3",
                      "94|Procedure Resize(Width, Height, Depth)|",
                      "46|Declare Scale(Factor.f)|differs: parameter 1: .f vs .d",
                      "97|Procedure Scale(Factor.d)|",
                      "47|Declare Fill(*Buffer, Size)|differs: parameter 1: pointer vs no pointer",
                      "100|Procedure Fill(Buffer.i, Size)|",
                      "48|Declare Sort(Array Items.i(1))|differs: parameter 1: Array vs List",
                      "103|Procedure Sort(List Items.i())|",
                      "49|Declare Clamp(Value, Low = 0, High = 100)|differs: default of parameter 3",
                      "106|Procedure Clamp(Value, Low = 0, High = 10)|",
                      "50|Declare.s Title(Window)|differs: return type",
                      "109|Procedure Title(Window)|",
                      "51|Declare Forgotten()|orphan",
                      "62|Procedure Early()|missing",
                      "56|Early()|",
                      "||",
                      "|1 missing, 6 differs, 1 orphan|",
                  }));
}
