#include "report/grep_output.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A project folder whose name holds an ISO-8859-15 byte, which must reach the editor as it
// stands; two files of the same name in different folders.
SourceFileList Files() {
  return {{"/p/r\xE4/main.pb", "", 0},
          {"/p/r\xE4/inc/tools.pbi", "main.pb", 1},
          {"/p/other/Tools.pbi", "m\xE4in.pb", 2}};
}

TEST(GrepOutput, OneLinePerRowWithAProjectFileAndALine) {
  ResultList list(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  list.AddResultRow("", RowMark::Separator);
  list.AddResultRow("12\nx = \"\xE4\" : a()  \t\n\n    3 Procedure A()\nTOOLS.pbi",
                    RowMark::OtherCase);
  list.AddResultRow("30\nProcedure Unused()\n0\n\nmain.pb",
                    RowMark::ProcedureRow | RowMark::NeverCalled);
  list.AddResultRow("9\nDeclare A(x)\nmissing\n\nmain.pb", RowMark::Finding);
  list.AddResultRow("8\nProcedure B()\nnever called\n\nmain.pb", RowMark::Finding | RowMark::NeverCalled);
  list.AddResultRow("7\nfoo()\n\n\ngone.pb");
  list.AddResultRow("\nfoo()\n\n\nmain.pb");
  std::ostringstream out;
  WriteListGrep(list, Files(), out);
  EXPECT_EQ(out.str(),
            "/p/r\xE4/inc/tools.pbi:12: [other case] x = \"\xC3\xA4\" : a()\n"
            "/p/r\xE4/main.pb:30: [never called] Procedure Unused()\n"
            "/p/r\xE4/main.pb:9: [missing] Declare A(x)\n"
            "/p/r\xE4/main.pb:8: [never called] Procedure B()\n");
}

TEST(GrepOutput, ProceduresListGivesEachHeadWithItsModule) {
  ResultList list(ListKind::Procedures, "Procedures");
  list.AddResultRow("     3\n\n\nProcedure A()\nmain.pb");
  list.AddResultRow("    12\nModule Geo\n\nProcedure.i Area(w.i)\ntools.pbi");
  std::ostringstream out;
  WriteListGrep(list, Files(), out);
  EXPECT_EQ(out.str(),
            "/p/r\xE4/main.pb:3: Procedure A()\n"
            "/p/r\xE4/inc/tools.pbi:12: [Module Geo] Procedure.i Area(w.i)\n");
}

TEST(GrepOutput, FilesStartAtTheirFirstLineAndSayWhoIncludesThemAndWhatWentWrong) {
  SourceFileList files = Files();
  files[2].Unresolved = "#Dir$ + \"x.pbi\"";
  std::vector<ProjectFile> read(3);
  read[0].Opened = read[1].Opened = true;
  std::ostringstream out;
  WriteFilesGrep(files, read, out);
  EXPECT_EQ(out.str(),
            "/p/r\xE4/main.pb:1: main file\n"
            "/p/r\xE4/inc/tools.pbi:1: included by main.pb, line 1\n"
            "/p/other/Tools.pbi:1: included by m\xC3\xA4in.pb, line 2 "
            "(not read; as written: #Dir$ + \"x.pbi\")\n");
}

}  // namespace
