// The built pb-sourcetrek-report on hostile projects, and proof that no listing writes
// anything: the tool runs without a shell (so any byte can stand in an argument), in a
// working folder of its own, with its output captured in a third folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "report/report_tool_runner.h"
#include "source/testing/folder_snapshot.h"
#include "source/testing/test_folder.h"

namespace {

/// Every listing the tool offers, as plain text and as JSON.
std::vector<std::vector<std::string>> EveryListing(const std::string& main_path) {
  const std::vector<std::vector<std::string>> listings{
      {"files"}, {"procedures"}, {"calls", "Foo"}, {"all-calls"}, {"declares"},
      {"terms", "Foo"}, {"lookup", "Foo"}, {"lookup", "Nowhere("}};
  std::vector<std::vector<std::string>> runs;
  for (const std::vector<std::string>& listing : listings) {
    for (const bool json : {false, true}) {
      std::vector<std::string> arguments;
      if (json) arguments.push_back("--json");
      arguments.push_back(listing[0]);
      arguments.push_back(main_path);
      arguments.insert(arguments.end(), listing.begin() + 1, listing.end());
      runs.push_back(arguments);
    }
  }
  return runs;
}

}  // namespace

TEST(HostileReport, MainFilesThatAreNoFilesExitWithTwoAndSayWhy) {
  TestFolder folder;
  const TestFolder work;
  const std::string fifo = folder.Path() + "fifo.pb";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string loop = folder.Path() + "loop.pb";
  ASSERT_EQ(::symlink("loop.pb", loop.c_str()), 0);
  for (const std::string& main_path : {folder.MakeFolder("dir.pb"), fifo, loop, folder.Path() + "missing.pb"}) {
    SCOPED_TRACE(main_path);
    const ToolRun run = RunTool(work.Path(), {"all-calls", main_path});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "pb-sourcetrek-report: no such main file: " + main_path + "\n");
  }
}

// A project file that is a FIFO, a sparse gigabyte, no XML, names itself, has no target
// with an input file or names a missing one: exit 2 with one line that names it, nothing
// on standard output, quickly, and nothing written.
TEST(HostileReport, ProjectFilesWithoutAMainFileExitWithTwoAndNameTheFile) {
  TestFolder folder;
  const TestFolder work;
  const std::string fifo = folder.Path() + "fifo.pbp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const TestFolder big;  // apart: the snapshot below would read its gigabyte
  const std::string huge = big.Write("huge.pbp", "<project/>");
  ASSERT_EQ(::truncate(huge.c_str(), 1L << 30), 0);
  const std::string target = "<project><section name=\"targets\"><target default=\"1\">";
  const std::string cases[][2] = {
      {fifo, "cannot read the project file " + fifo},
      {huge, "cannot read the project file " + huge},
      {folder.Write("text.PBP", "Procedure A()\nEndProcedure\n"), "cannot read the project file "},
      {folder.Write("self.pbp", target + "<inputfile value=\"SELF.pbp\"/></target></section></project>"),
       "is a project file: " + folder.Path() + "self.pbp"},
      {folder.Write("none.pbp", target + "</target></section></project>"), "has no target with an input file"},
      {folder.Write("gone.pbp", target + "<inputfile value=\"src\\gone.pb\"/></target></section></project>"),
       "does not exist: " + folder.Path() + "src\\gone.pb"},
  };
  const Snapshot before = SnapshotOf(folder.Path());
  for (const auto& [project, error] : cases) {
    SCOPED_TRACE(project);
    const ToolRun run = RunTool(work.Path(), {"files", project});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    ASSERT_EQ(Lines(run.Err).size(), 1u);
    EXPECT_NE(run.Err.find(project), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(error), std::string::npos) << run.Err;
  }
  EXPECT_TRUE(SnapshotOf(folder.Path()) == before);
}

// The include holds one line of 200 MB. It is read whole; the listing keeps the line and
// its prepared copy at once, so the tool's peak memory stays within three times the
// file's size. AddressSanitizer's quarantine, which holds freed blocks back for a while,
// is switched off so that the peak is the program's own.
TEST(HostileReport, TwoHundredMegabyteLineIsReadWithBoundedMemory) {
  TestFolder folder;
  const TestFolder work;
  const std::string main_path =
      folder.Write("main.pb", "IncludeFile \"big.pb\"\nProcedure Foo()\nEndProcedure\n");
  constexpr size_t kMegabyte = 1024 * 1024;
  std::string block;
  while (block.size() < kMegabyte) block += "x = y + z * 2 : ";
  block.resize(kMegabyte);
  {
    std::ofstream big(folder.Path() + "big.pb", std::ios::binary);
    for (int count = 0; count < 200; ++count) big.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  const ToolRun run = RunTool(work.Path(), {"--json", "all-calls", main_path}, "quarantine_size_mb=0");
  EXPECT_EQ(run.Status, 0) << run.Err;
  const std::vector<std::string> lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 3u) << run.Out.substr(0, 1000);  // caption, procedure row, closing row
  EXPECT_NE(lines[1].find("[\"2\", \"Procedure Foo()\", \"0\", \"\", \"main.pb\"]"), std::string::npos)
      << lines[1];
  EXPECT_LT(run.PeakKilobytes, 3 * 200 * 1024L);
}

TEST(HostileReport, OddBytesInThePathComeOutEscapedAndConverted) {
  TestFolder folder;
  const TestFolder work;
  const std::string odd = folder.MakeFolder("we\"ird\nname \xff");
  const std::string main_path = odd + "m\xe9in 'x'.pb";
  {
    std::ofstream(main_path, std::ios::binary) << "Procedure Foo()\nEndProcedure\n";
  }
  const ToolRun run = RunTool(work.Path(), {"--json", "files", main_path});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "{\"path\": \"" + folder.Path() +
                         "we\\\"ird\\nname \xc3\xbf/m\xc3\xa9in 'x'.pb\", \"included_by\": \"\", "
                         "\"include_line\": 0}\n");
}

TEST(HostileReport, SeparatorOnlyAndHugeTextsGiveListsNotErrors) {
  TestFolder folder;
  const TestFolder work;
  const std::string main_path = folder.Write("main.pb", "x = Foo(1)\nProcedure Foo()\nEndProcedure\ny=(2)\n");
  const std::string huge(100000, 'x');
  const struct {
    std::vector<std::string> Arguments;
    size_t Lines;  // the list line and one line per row
  } cases[] = {
      {{"--json", "calls", main_path, "((("}, 3},   // the key "(" after "=" on line 4
      {{"--json", "terms", main_path, ";"}, 1},     // ";" begins the comment
      {{"--json", "terms", main_path, ""}, 1},      // an empty term matches nothing
      {{"--json", "lookup", main_path, "(("}, 3},   // tried as a name first
      {{"--json", "calls", main_path, huge}, 1},
      {{"--json", "terms", main_path, huge}, 1},
  };
  for (const auto& [arguments, line_count] : cases) {
    SCOPED_TRACE(arguments[1] + " " + arguments[3].substr(0, 10));
    const ToolRun run = RunTool(work.Path(), arguments);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(Lines(run.Out).size(), line_count) << run.Out.substr(0, 1000);
  }
  const ToolRun empty_name = RunTool(work.Path(), {"calls", main_path, ""});
  EXPECT_EQ(empty_name.Status, 2);
  EXPECT_EQ(Lines(empty_name.Err).size(), 1u);
}

// Root ignores permissions, so the folder is made read-only as a user would and the proof
// is a snapshot of every file's kind, mode, size, times and bytes before and after.
TEST(NothingWritten, NoListingChangesTheProjectOrTheWorkingFolder) {
  TestFolder folder;
  const TestFolder work;
  const std::string main_path = folder.Write(
      "main.pb", "#Inc$ = \"inc/\"\nXIncludeFile #Inc$ + \"util.pbi\"\nx = Foo(1)\nProcedure.i Foo(a)\n"
                 "EndProcedure\nIncludeFile #Unknown + \"x.pb\"\n");
  folder.MakeFolder("inc");
  folder.Write("inc/util.pbi", "Procedure Bar()\n  Foo(2)\nEndProcedure\nBar()\n");
  ASSERT_EQ(::symlink("../main.pb", (folder.Path() + "inc/link.pb").c_str()), 0);
  RemoveWritePermissions(folder.Path());
  const Snapshot project_before = SnapshotOf(folder.Path());
  const Snapshot work_before = SnapshotOf(work.Path());
  ASSERT_EQ(project_before.size(), 5u);

  for (const std::vector<std::string>& arguments : EveryListing(main_path)) {
    SCOPED_TRACE(arguments[0] + " " + arguments[1]);
    const ToolRun run = RunTool(work.Path(), arguments);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_FALSE(run.Out.empty());
  }
  EXPECT_TRUE(SnapshotOf(folder.Path()) == project_before);
  EXPECT_TRUE(SnapshotOf(work.Path()) == work_before);
  RestoreWritePermissions(folder.Path());
}
