#include "listings/declare_check.h"

#include <gtest/gtest.h>

#include "listings/declares.h"
#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;

namespace {

/// Runs the check into a new list, its Declares to add into `missing`; returns the list.
ResultList& RunDeclareCheck(TestProject& test, std::string& missing) {
  ResultList& list = test.history.OpenResultList(ListKind::DeclareCheck, "Declare check");
  const ListingResult result = ListDeclareCheck(test.project, list, test.host);
  EXPECT_FALSE(WasStopped(result));
  missing = result.DeclareText;
  return list;
}

}  // namespace

TEST(DeclareCheck, MissingDiffersAndOrphanRowsInFileAndLineOrder) {
  TestProject test;
  // Late is declared only after its first early call; Early's Declare stands before it;
  // Same's Declare differs from its head only in blanks and letter case.
  test.Write("main.pb",
             "Declare Early()\n"
             "Declare Same( A.i,b )\n"
             "Declare Other(a.i)\n"
             "Declare Gone()\n"
             "x = Early() + Late(1) + late(2)\n"
             "Declare Late(v)\n"
             "Procedure Early()\nEndProcedure\n"
             "Procedure Late(v)\nEndProcedure\n"
             "Procedure Same(a.I, B)\nEndProcedure\n"
             "Procedure Other(a.i, b.i)\nEndProcedure\n");
  test.TakeUp();
  std::string missing;
  const ResultList& list = RunDeclareCheck(test, missing);
  ASSERT_EQ(list.RowCount(), 7);
  EXPECT_EQ(TestProject::Cells(list, 0), (Texts{"3", "Declare Other(a.i)", "differs: number of parameters: 1 vs 2", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 1),
            (Texts{"13", "Procedure Other(a.i, b.i)", "", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 2), (Texts{"4", "Declare Gone()", "orphan", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 3),
            (Texts{"9", "Procedure Late(v)", "missing", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 4),
            (Texts{"5", "x = Early() + Late(1) + late(2)", "", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 6), (Texts{"", "1 missing, 1 differs, 1 orphan", "", "", ""}));
  for (const int32_t finding : {0, 2, 3}) EXPECT_EQ(list.Row(finding).Marks, RowMarks(RowMark::Finding));
  EXPECT_EQ(list.Row(1).Marks, RowMarks());
  EXPECT_EQ(missing, ";main.pb\r\nDeclare Late(v)\r\n");
}

TEST(DeclareCheck, JudgesCallsInCompileOrderNotByLineNumbers) {
  TestProject test;
  // a.pbi is read at main's line 1, before Foo's head on main's line 2, so its call on
  // line 5 is early. Bar's head is in b.pbi, read before main's line 3, so main's call
  // on line 4 is not early although Bar's head has the larger line number.
  test.Write("main.pb",
             "IncludeFile \"a.pbi\"\n"
             "Procedure Foo()\nEndProcedure\n"
             "IncludeFile \"b.pbi\"\n"
             "Bar()\n");
  test.Write("a.pbi", "\n\n\n\nFoo()\n");
  test.Write("b.pbi", "\n\n\n\n\n\n\n\n\nProcedure Bar()\nEndProcedure\n");
  test.TakeUp();
  std::string missing;
  const ResultList& list = RunDeclareCheck(test, missing);
  EXPECT_EQ(TestProject::Column(list, ColumnCalls),
            (Texts{"Procedure Foo()", "Foo()", "", "1 missing, 0 differs, 0 orphan"}));
  EXPECT_EQ(TestProject::Cells(list, 1), (Texts{"5", "Foo()", "", "", "a.pbi"}));
}

TEST(DeclareCheck, ADeclareReadBeforeTheFirstEarlyCallInAnotherFileIsEnough) {
  TestProject test;
  test.Write("main.pb", "XIncludeFile \"decl.pbi\"\nFoo()\nProcedure Foo()\nEndProcedure\n");
  test.Write("decl.pbi", "\n\n\nDeclare Foo()\n");
  test.TakeUp();
  std::string missing;
  EXPECT_EQ(TestProject::Column(RunDeclareCheck(test, missing), ColumnCalls),
            (Texts{"", "0 missing, 0 differs, 0 orphan"}));
  EXPECT_TRUE(missing.empty());
}

TEST(DeclareCheck, ADeclareInAModuleBlockDeclaresThatModulesProcedure) {
  TestProject test;
  // Geo's Declare has Text's parameters, so it differs from Geo's own Area; Gone is
  // declared in Geo, which has none, so the global Gone does not take it; Geo's Early is
  // called early and only Text declares an Early; Late is Geo's and declared in time.
  test.Write("main.pb",
             "DeclareModule Geo\n"
             "  Declare Area(s$)\n"
             "  Declare Gone()\n"
             "  Declare Late()\n"
             "EndDeclareModule\n"
             "DeclareModule Text\n"
             "  Declare Area(s$)\n"
             "  Declare Early()\n"
             "EndDeclareModule\n"
             "Module Geo\n"
             "  Early() : Late()\n"                      // 11
             "  Procedure Area(w, h)\n  EndProcedure\n"  // 12
             "  Procedure Early()\n  EndProcedure\n"     // 14
             "  Procedure Late()\n  EndProcedure\n"
             "EndModule\n"
             "Module Text\n"
             "  Procedure Area(s$)\n  EndProcedure\n"
             "  Procedure Early()\n  EndProcedure\n"
             "EndModule\n"
             "Procedure Gone()\nEndProcedure\n");
  test.TakeUp();
  std::string missing;
  const ResultList& list = RunDeclareCheck(test, missing);
  EXPECT_EQ(TestProject::Column(list, ColumnCalls),
            (Texts{"Declare Area(s$)", "Procedure Area(w, h)", "Declare Gone()", "Procedure Early()",
                   "Early() : Late()", "", "1 missing, 1 differs, 1 orphan"}));
  EXPECT_EQ(TestProject::Column(list, ColumnCount),
            (Texts{"differs: number of parameters: 1 vs 2", "", "orphan", "missing", "", "", ""}));
}

TEST(DeclareCheck, LinesThatNameProceduresWithoutCallingThemNeedNoDeclare) {
  TestProject test;
  // Only Early() on line 11 is a call above its head. The macro body's Later() is compiled
  // where the macro is used; ProcedureC Back is called below its head only.
  test.Write("main.pb",
             "Prototype Later(a)\n"
             "Macro Later2(Mode = 1)\n"
             "  Later(Mode)\n"
             "EndMacro\n"
             "Interface I\n  Back(x.i)\nEndInterface\n"
             "Structure S\n  Early.i\nEndStructure\n"
             "Early()\n"
             "Import \"lib.a\"\n  Later(a.i)\nEndImport\n"
             "Procedure Later(a)\nEndProcedure\n"
             "Procedure Early()\nEndProcedure\n"
             "ProcedureC Back(x.i)\nEndProcedure\n"
             "Back(1)\n");
  test.TakeUp();
  std::string missing;
  const ResultList& list = RunDeclareCheck(test, missing);
  EXPECT_EQ(TestProject::Column(list, ColumnCalls),
            (Texts{"Procedure Early()", "Early()", "", "1 missing, 0 differs, 0 orphan"}));
}

TEST(DeclareCheck, IncludeFilesLastLineOneLineProcedureAndAFileReadEarlyThroughXIncludeFile) {
  TestProject test;
  // b.pbi's list entry comes from main's line 2, but a.pbi reads it at main's line 1
  // through XIncludeFile: its call above Foo's head is early there too, and Bar's head is
  // read before a.pbi's call of Bar. c.pbi ends in a one-line procedure without a line
  // end, whose Declare is no orphan.
  test.Write("main.pb", "IncludeFile \"a.pbi\"\nIncludeFile \"b.pbi\"\nIncludeFile \"c.pbi\"\n");
  test.Write("a.pbi", "XIncludeFile \"b.pbi\"\nBar()\n");
  test.Write("b.pbi", "Foo()\nProcedure Foo()\nEndProcedure\nProcedure Bar()\nEndProcedure\n");
  test.Write("c.pbi", "Declare Last(x)\nLast(1)\nProcedure Last(x) : EndProcedure");
  test.TakeUp();
  ASSERT_EQ(test.project.SourceFiles.size(), 4u);
  std::string missing;
  const ResultList& list = RunDeclareCheck(test, missing);
  EXPECT_EQ(TestProject::Column(list, ColumnCalls),
            (Texts{"Procedure Foo()", "Foo()", "", "1 missing, 0 differs, 0 orphan"}));
}
