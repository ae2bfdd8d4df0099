// A catalogue of hostile projects, each built in a temporary folder and run through every
// listing: main files that are no files, unreadable and odd files, trees of includes that
// are deep, wide, cyclic or multiplying, odd paths and names, and texts made of
// separators. Each must end with the outcome asserted here.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "listings/all_procedure_calls.h"
#include "listings/testing/listing_test_support.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/term_search.h"
#include "source/path_parts.h"

namespace {

/// Row counts of every listing run once over a taken-up project.
struct ListingCounts {
  int32_t Procedures = 0;
  int32_t AllCalls = 0;
  int32_t Calls = 0;   ///< rows of the "Proc: " list for the name
  int32_t Terms = 0;
};

/// Takes up `main_path` and runs every listing; the calls and term listings look for
/// `name` and `term`. Every row that names a file must name one of the project's files.
ListingCounts RunEveryListing(const std::string& main_path, std::string_view name,
                              std::string_view term, Project& project, ListHistory& history) {
  RecordingHost host;
  ListingCounts counts;
  ResultList& procedures = history.OpenResultList(ListKind::Procedures, "Procedures");
  TakeUpProject(project, main_path, procedures, host);
  counts.Procedures = procedures.RowCount();
  ResultList& all_calls = history.OpenResultList(
      ListKind::AllProcedureCalls, "All Procedure-Calls...");
  EXPECT_FALSE(WasStopped(ListAllProcedureCalls(project, all_calls, host)));
  counts.AllCalls = all_calls.RowCount();
  counts.Calls = OpenProcedureCalls(project, history, host, name);
  EXPECT_EQ(counts.Calls, history.Current()->RowCount());
  ResultList& terms = history.OpenResultList(ListKind::Terms, "");
  ListTermMatches(project, terms, host, {std::string(term)});
  counts.Terms = terms.RowCount();
  for (int index = 0; index < history.Count(); ++index) {
    for (const std::string& file : TestProject::Column(history.At(index), ColumnFile)) {
      if (file.empty()) continue;
      bool listed = false;
      for (const SourceFile& source : project.SourceFiles) listed |= FileNamePart(source.Path) == file;
      EXPECT_TRUE(listed) << "a row names a file outside the project: " << file;
    }
  }
  EXPECT_EQ(host.StopStates.back(), false);
  return counts;
}

/// Writes `bytes` to the file at the absolute `path`; returns the path.
std::string WriteAt(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

/// The paths of a file list, in order.
std::vector<std::string> Paths(const SourceFileList& files) {
  std::vector<std::string> paths;
  for (const SourceFile& file : files) paths.push_back(file.Path);
  return paths;
}

/// A project whose main file cannot be read: one entry, and no listing finds anything.
void ExpectNothingFrom(const std::string& main_path) {
  Project project;
  ListHistory history;
  const ListingCounts counts = RunEveryListing(main_path, "Foo", "Foo", project, history);
  EXPECT_EQ(Paths(project.SourceFiles), std::vector<std::string>{main_path});
  EXPECT_EQ(counts.Procedures, 0);
  EXPECT_EQ(counts.AllCalls, 0);
  EXPECT_EQ(counts.Calls, 0);
  EXPECT_EQ(counts.Terms, 0);
}

/// main.pb including "<middle>" and then b.pb, which holds procedure B and calls it.
std::string WriteMainAround(const TestFolder& folder, const std::string& middle) {
  folder.Write("b.pb", "Procedure B()\nEndProcedure\nB()\n");
  return folder.Write("main.pb", "IncludeFile \"" + middle + "\"\nIncludeFile \"b.pb\"\nB()\n");
}

/// A middle file that cannot be read is listed but skipped: b.pb after it still counts.
void ExpectMiddleSkipped(const TestFolder& folder, const std::string& main_path,
                         const std::string& middle_path) {
  Project project;
  ListHistory history;
  const ListingCounts counts = RunEveryListing(main_path, "B", "B", project, history);
  EXPECT_EQ(Paths(project.SourceFiles),
            (std::vector<std::string>{main_path, middle_path, folder.Path() + "b.pb"}));
  EXPECT_EQ(counts.Procedures, 1);
  EXPECT_EQ(counts.AllCalls, 4);  // procedure row, the calls in main.pb and b.pb, closing row
  EXPECT_EQ(counts.Calls, 4);     // separator and call row for each of the two files
  EXPECT_EQ(counts.Terms, 5);     // the same, plus the head line in b.pb
}

}  // namespace

TEST(HostileProjects, MainFilesThatAreNoFilesListNothing) {
  TestFolder folder;
  const std::string directory = folder.MakeFolder("folder.pb");
  const std::string fifo = folder.Path() + "fifo.pb";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string loop = folder.Path() + "loop.pb";
  ASSERT_EQ(::symlink("loop2.pb", loop.c_str()), 0);
  ASSERT_EQ(::symlink("loop.pb", (folder.Path() + "loop2.pb").c_str()), 0);
  for (const std::string& main_path :
       {directory.substr(0, directory.size() - 1), directory, fifo, loop,
        folder.Path() + "missing.pb", folder.Path() + "loop.pb/inside.pb"}) {
    SCOPED_TRACE(main_path);
    ExpectNothingFrom(main_path);
  }
}

TEST(HostileProjects, IncludesThatAreNoFilesAreListedAndSkipped) {
  TestFolder folder;
  ASSERT_EQ(::mkfifo((folder.Path() + "fifo.pb").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("loop.pb", (folder.Path() + "loop.pb").c_str()), 0);
  folder.MakeFolder("dir.pb");
  for (const std::string middle : {"fifo.pb", "loop.pb", "dir.pb"}) {
    SCOPED_TRACE(middle);
    ExpectMiddleSkipped(folder, WriteMainAround(folder, middle), folder.Path() + middle);
  }
}

// Windows paths that find nothing on disk (a loop, a folder, 10,000 components) stay as
// written; a file that is only a byte-order mark is an empty file.
TEST(HostileProjects, WindowsPathsThatFindNothingAndMarkOnlyFilesAreListedAndSkipped) {
  TestFolder folder;
  ASSERT_EQ(::symlink("loop.pb", (folder.Path() + "loop.pb").c_str()), 0);
  folder.MakeFolder("dir.pb");
  folder.Write("bom.pb", "\xEF\xBB\xBF");
  std::string deep;
  for (int component = 0; component < 10000; ++component) deep += "a\\";
  for (const std::string& middle : {std::string("loop.pb\\inside.pb"), std::string("LOOP.pb"),
                                   std::string("DIR.PB"), deep + "b.pb", std::string("bom.pb")}) {
    SCOPED_TRACE(middle.substr(0, 20));
    ExpectMiddleSkipped(folder, WriteMainAround(folder, middle), folder.Path() + middle);
  }
}

// Root reads any file whatever its mode, so as root the listings run in a child process
// that has given up root for the unprivileged user "nobody" (uid 65534).
TEST(HostileProjects, FileWithoutReadPermissionIsListedAndSkipped) {
  TestFolder folder;
  const std::string secret = folder.Write("secret.pb", "Procedure Hidden()\nEndProcedure\nB()\n");
  const std::string main_path = WriteMainAround(folder, "secret.pb");
  ASSERT_EQ(::chmod(secret.c_str(), 0), 0);
  if (::geteuid() != 0) {
    ExpectMiddleSkipped(folder, main_path, secret);
    return;
  }
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    ExpectMiddleSkipped(folder, main_path, secret);
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a check failed as nobody; 3: could not become nobody";
}

TEST(HostileProjects, EmptyAndZeroByteFilesCountEveryZeroAsALineEnd) {
  TestFolder folder;
  ExpectNothingFrom(folder.Write("empty.pb", ""));

  const std::string zeros(65536, '\0');
  const std::string_view lines("Procedure Foo()\0Foo()", 21);
  const std::string main_path = folder.Write("zeros.pb", zeros + std::string(lines) + zeros);
  Project project;
  ListHistory history;
  const ListingCounts counts = RunEveryListing(main_path, "Foo", "Foo", project, history);
  EXPECT_EQ(counts.Procedures, 1);
  EXPECT_EQ(project.Procedures.at(0).LineNumber, 65537);
  EXPECT_EQ(project.Procedures.at(0).HeadText, "Procedure Foo()");
  EXPECT_EQ(counts.AllCalls, 3);
  EXPECT_EQ(history.At(1).CellText(1, ColumnLine), "65538");
  EXPECT_EQ(counts.Calls, 2);
  EXPECT_EQ(counts.Terms, 3);
}

TEST(HostileProjects, MillionEmptyLinesArePolledOneByOneAndCounted) {
  TestFolder folder;
  const std::string main_path =
      folder.Write("main.pb", std::string(1000000, '\n') + "Procedure Foo()\nEndProcedure\nFoo()\n");
  Project project;
  ListHistory history;
  RecordingHost host;
  TakeUpProject(project, main_path, history.OpenResultList(ListKind::Procedures, "Procedures"),
                host);
  EXPECT_EQ(host.Polls, 1000003);
  ASSERT_EQ(project.Procedures.size(), 1u);
  EXPECT_EQ(history.At(0).CellText(0, ColumnLine), "1000001");
  ResultList& all_calls = history.OpenResultList(
      ListKind::AllProcedureCalls, "All Procedure-Calls...");
  ListAllProcedureCalls(project, all_calls, host);
  EXPECT_EQ(TestProject::Column(all_calls, ColumnLine),
            (std::vector<std::string>{"1000001", "1000003", ""}));
  EXPECT_EQ(all_calls.CellText(0, ColumnCount), "1");
}

TEST(HostileProjects, DeepIncludeChainIsFollowedToItsEnd) {
  constexpr int kDepth = 500;
  TestFolder folder;
  for (int level = 1; level < kDepth; ++level) {
    const std::string next = level + 1 < kDepth ? "IncludeFile \"f" + std::to_string(level + 1) + ".pb\"\n" : "";
    folder.Write("f" + std::to_string(level) + ".pb", next + "x = Foo(" + std::to_string(level) + ")\n");
  }
  const std::string main_path =
      folder.Write("main.pb", "IncludeFile \"f1.pb\"\nProcedure Foo(n)\nEndProcedure\n");
  Project project;
  ListHistory history;
  const ListingCounts counts = RunEveryListing(main_path, "Foo", "Foo", project, history);
  ASSERT_EQ(project.SourceFiles.size(), static_cast<size_t>(kDepth));
  EXPECT_EQ(project.SourceFiles.back().Path, folder.Path() + "f499.pb");
  EXPECT_EQ(project.SourceFiles.back().IncludedBy, "f498.pb");
  EXPECT_EQ(counts.Procedures, 1);
  EXPECT_EQ(counts.AllCalls, 1 + (kDepth - 1) + 1);
  EXPECT_EQ(history.At(1).CellText(0, ColumnCount), "499");
  EXPECT_EQ(counts.Calls, 2 * (kDepth - 1));
  EXPECT_EQ(counts.Terms, 2 + 2 * (kDepth - 1));
}

TEST(HostileProjects, WideIncludeListKeepsStatementOrder) {
  constexpr int kWidth = 2000;
  TestFolder folder;
  std::string main_text = "Procedure Bar()\nEndProcedure\n";
  for (int index = 0; index < kWidth; ++index) {
    const std::string name = "w" + std::to_string(index) + ".pb";
    folder.Write(name, "Bar()\n");
    main_text += "IncludeFile \"" + name + "\"\n";
  }
  const std::string main_path = folder.Write("main.pb", main_text);
  Project project;
  ListHistory history;
  const ListingCounts counts = RunEveryListing(main_path, "Bar", "Bar", project, history);
  ASSERT_EQ(project.SourceFiles.size(), static_cast<size_t>(kWidth + 1));
  EXPECT_EQ(project.SourceFiles[1].Path, folder.Path() + "w0.pb");
  EXPECT_EQ(project.SourceFiles.back().Path, folder.Path() + "w1999.pb");
  EXPECT_EQ(project.SourceFiles.back().IncludeLine, kWidth + 2);
  EXPECT_EQ(counts.AllCalls, kWidth + 2);
  EXPECT_EQ(counts.Calls, 2 * kWidth);
  EXPECT_EQ(counts.Terms, 2 + 2 * kWidth);
}

TEST(HostileProjects, IncludeCyclesEndTheScanWithEachFileOnce) {
  TestFolder folder;
  const std::string main_path = folder.Write("main.pb", "IncludeFile \"a.pb\"\nProcedure M()\nEndProcedure\n");
  folder.Write("a.pb", "IncludeFile \"main.pb\"\nIncludeFile \"a.pb\"\nXIncludeFile \"b.pb\"\nM()\n");
  folder.Write("b.pb", "IncludeFile \"a.pb\"\nIncludeFile \"main.pb\"\nIncludeFile \"./b.pb\"\nM()\n");
  Project project;
  ListHistory history;
  const ListingCounts counts = RunEveryListing(main_path, "M", "M", project, history);
  EXPECT_EQ(Paths(project.SourceFiles),
            (std::vector<std::string>{main_path, folder.Path() + "a.pb", folder.Path() + "b.pb"}));
  EXPECT_EQ(counts.AllCalls, 4);
  EXPECT_EQ(counts.Calls, 4);
}

TEST(HostileProjects, MultiplyingIncludesStopAtTheEntryLimit) {
  // Each level includes the next ten times: 1, 10, 100 and 1000 files that call Twice,
  // then the missing gone.pb fills the list up to its limit (8888 entries of 10000).
  TestFolder folder;
  for (int level = 0; level < 4; ++level) {
    const std::string next = level < 3 ? "l" + std::to_string(level + 1) + ".pb" : "gone.pb";
    std::string text;
    for (int copy = 0; copy < 10; ++copy) text += "IncludeFile \"" + next + "\"\n";
    folder.Write("l" + std::to_string(level) + ".pb", text + "Twice()\n");
  }
  Project project;
  ListHistory history;
  const ListingCounts counts =
      RunEveryListing(folder.Write("main.pb", "IncludeFile \"l0.pb\"\nProcedure Twice()\nEndProcedure\n"),
                      "Twice", "Twice", project, history);
  ASSERT_EQ(project.SourceFiles.size(), MaxSourceFiles);
  EXPECT_EQ(project.SourceFiles[1111].Path, folder.Path() + "l3.pb");
  EXPECT_EQ(project.SourceFiles[1112].Path, folder.Path() + "gone.pb");
  EXPECT_EQ(project.SourceFiles.back().Path, folder.Path() + "gone.pb");
  EXPECT_EQ(counts.Procedures, 1);
  EXPECT_EQ(counts.AllCalls, 1111 + 2);
  EXPECT_EQ(counts.Calls, 2 * 1111);
  EXPECT_EQ(counts.Terms, 2 + 2 * 1111);
}

TEST(HostileProjects, OddBytesInPathsArePassedThroughUnchanged) {
  TestFolder folder;
  const std::string odd_folder = folder.MakeFolder("dir with \"quotes\" and\nnewline \xff");
  const std::string main_path = odd_folder + "ma'in \xe9\n.pb";
  WriteAt(main_path, "IncludeFile \"sub dir/a b.pb\" ; comment\nIncludeFile \"caf\xe9.pb\"\n");
  ::mkdir((odd_folder + "sub dir").c_str(), 0700);
  WriteAt(odd_folder + "sub dir/a b.pb", "Procedure Odd()\nEndProcedure\n");
  WriteAt(odd_folder + "caf\xe9.pb", "Odd()\n");
  Project project;
  ListHistory history;
  // "sub dir/a b.pb" has a folder part, so it is taken from the main file's folder.
  const ListingCounts counts = RunEveryListing(main_path, "Odd", "Odd", project, history);
  EXPECT_EQ(Paths(project.SourceFiles),
            (std::vector<std::string>{main_path, odd_folder + "sub dir/a b.pb", odd_folder + "caf\xe9.pb"}));
  EXPECT_EQ(project.SourceFiles[1].IncludedBy, "ma'in \xe9\n.pb");
  EXPECT_EQ(counts.Calls, 2);
  EXPECT_EQ(history.At(2).CellText(1, ColumnFile), "caf\xe9.pb");
}

TEST(HostileProjects, HundredThousandCharacterNamesAreHandledWhole) {
  TestFolder folder;
  const std::string name = "P" + std::string(100000, 'x');
  const std::string long_include = std::string(100000, 'i') + ".pb";
  const std::string main_path = folder.Write(
      "main.pb", "IncludeFile \"" + long_include + "\"\nIncludeFile \"b.pb\"\nProcedure " + name +
                     "(a)\nEndProcedure\n" + name + "(1)\n");
  folder.Write("b.pb", "y = " + name + " (2) + 1\n");
  Project project;
  ListHistory history;
  const ListingCounts counts = RunEveryListing(main_path, name, name, project, history);
  EXPECT_EQ(Paths(project.SourceFiles),
            (std::vector<std::string>{main_path, folder.Path() + long_include, folder.Path() + "b.pb"}));
  EXPECT_EQ(counts.Procedures, 1);
  EXPECT_EQ(counts.AllCalls, 4);
  EXPECT_EQ(history.At(1).CellText(2, ColumnCalls), "y = " + name + "(2) + 1");
  EXPECT_EQ(counts.Calls, 4);
  EXPECT_EQ(counts.Terms, 5);
}

TEST(HostileProjects, SeparatorOnlyNamesAndTermsFindOnlyWhatTheRulesAllow) {
  TestFolder folder;
  const std::string main_path =
      folder.Write("main.pb", "x = Foo(1)\nProcedure Foo()\nEndProcedure\ny=(2)\nz = a + b\n");
  Project project;
  ListHistory history;
  // The name "(((" gives the key "(", which is a call only after a separator: line 4.
  const ListingCounts counts = RunEveryListing(main_path, "(((", "+", project, history);
  EXPECT_EQ(counts.Calls, 2);
  EXPECT_EQ(history.At(2).CellText(1, ColumnLine), "4");
  EXPECT_EQ(counts.Terms, 2);
  EXPECT_EQ(history.At(3).CellText(1, ColumnLine), "5");

  // A text is first tried as a name: "(", "((((" and " " all give the key "(" and find
  // line 4; ";" and tab-colon-tab find no call and fall back to a term search that finds
  // nothing, since ";" starts a comment and the tabs stand nowhere.
  RecordingHost host;
  const std::pair<std::string_view, int32_t> lookups[] = {
      {"(", 2}, {"((((", 2}, {" ", 2}, {";", 0}, {"\t:\t", 0}};
  for (const auto& [text, result] : lookups) {
    SCOPED_TRACE(text);
    EXPECT_EQ(OpenLookUp(project, history, host, text), result);
    EXPECT_EQ(history.Current()->Kind(), result == 0 ? ListKind::Terms : ListKind::ProcedureCalls);
    EXPECT_EQ(history.Current()->RowCount(), result);
  }
}
