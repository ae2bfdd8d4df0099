#include "listings/all_procedure_calls.h"

#include <gtest/gtest.h>

#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;

namespace {

/// Runs the listing into a new "All Procedure-Calls..." list and returns the list.
ResultList& RunAllCalls(TestProject& test) {
  ResultList& list = test.history.OpenResultList(
      ListKind::AllProcedureCalls, "All Procedure-Calls...");
  ListAllProcedureCalls(test.project, list, test.host);
  return list;
}

/// Takes up the example project and runs the listing on it.
ResultList& RunAllCallsOfExample(TestProject& test) {
  RecordingHost quiet;
  TakeUpProject(test.project, PBST_EXAMPLE_MAIN,
                test.history.OpenResultList(ListKind::Procedures, "Procedures"), quiet);
  return RunAllCalls(test);
}

}  // namespace

TEST(AllProcedureCalls, ProcedureRowsCallRowsAndClosingRows) {
  TestProject test;
  test.Write("main.pb",
             "Procedure.i Foo(a)\n"
             "  ProcedureReturn Foo(a - 1) ; recursion\n"
             "EndProcedure\n"
             "Procedure Unused()\n"
             "EndProcedure\n"
             "x = Foo(1) + Foo(2)\n");
  test.TakeUp();
  const ResultList& list = RunAllCalls(test);
  ASSERT_EQ(list.RowCount(), 6);
  EXPECT_EQ(TestProject::Cells(list, 0), (Texts{"1", "Procedure.i Foo(a)", "2", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 1),
            (Texts{"2", "ProcedureReturn Foo(a - 1) ", "", "1 Procedure.i Foo(a)", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 2), (Texts{"6", "x = Foo(1) + Foo(2)", "", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 3), (Texts{"", "", "", "", ""}));
  EXPECT_EQ(TestProject::Cells(list, 4), (Texts{"4", "Procedure Unused()", "0", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 5), (Texts{"", "", "", "", ""}));
  EXPECT_EQ(list.SelectedRow(), 4);  // the closing rows are added unselected
  EXPECT_EQ(list.Row(3).Marks, RowMarks(RowMark::ClosingRow));
  EXPECT_EQ(list.Row(4).Marks, RowMark::ProcedureRow | RowMark::NeverCalled);
}

TEST(AllProcedureCalls, MarksNeverCalledOtherCaseAndCallsAboveTheHead) {
  TestProject test;
  test.Write("main.pb",
             "foo(1)\n"
             "Procedure Foo(a)\n"
             "EndProcedure\n"
             "Procedure Lonely()\n"
             "EndProcedure\n"
             "Procedure Late()\n"
             "EndProcedure\n"
             "Late()\n");
  test.TakeUp();
  const ResultList& list = RunAllCalls(test);
  // Foo: called above its head, in another letter case.
  EXPECT_EQ(list.Row(0).Marks, RowMark::ProcedureRow | RowMark::CalledAboveHead);
  EXPECT_EQ(list.Row(1).Marks, RowMarks(RowMark::OtherCase));
  // Lonely: never called.
  EXPECT_EQ(list.CellText(3, ColumnCalls), "Procedure Lonely()");
  EXPECT_EQ(list.Row(3).Marks, RowMark::ProcedureRow | RowMark::NeverCalled);
  // Late: called below its head.
  EXPECT_EQ(list.CellText(5, ColumnCalls), "Procedure Late()");
  EXPECT_EQ(list.Row(5).Marks, RowMarks(RowMark::ProcedureRow));
  ASSERT_EQ(test.project.Candidates.size(), 2u);  // the Declare header plus Foo
  EXPECT_EQ(test.host.Clipboard, ";main.pb\r\nDeclare Foo(a)\r\n");
}

TEST(AllProcedureCalls, DeclareLinesAreListedButNeitherCountNorAskForADeclare) {
  TestProject test;
  test.Write("main.pb",
             "Declare Unused()\n"
             "  DeclareC.i Early(a)\n"
             "Declare\tTabbed()\n"
             "x = Early(1)\n"
             "Procedure Unused()\n"
             "EndProcedure\n"
             "Procedure.i Early(a)\n"
             "EndProcedure\n"
             "Procedure Tabbed()\n"
             "EndProcedure\n");
  test.TakeUp();
  const ResultList& list = RunAllCalls(test);
  ASSERT_EQ(list.RowCount(), 10);
  // Declared, never called: orange, count 0, its Declare row listed and marked.
  EXPECT_EQ(TestProject::Cells(list, 0), (Texts{"5", "Procedure Unused()", "0", "", "main.pb"}));
  EXPECT_EQ(list.Row(0).Marks, RowMark::ProcedureRow | RowMark::NeverCalled);
  EXPECT_EQ(TestProject::Cells(list, 1), (Texts{"1", "Declare Unused()", "", "", "main.pb"}));
  EXPECT_EQ(list.Row(1).Marks, RowMarks(RowMark::DeclareLine));
  // Called above its head: red line cell from the call, but declared, so no candidate.
  EXPECT_EQ(list.CellText(3, ColumnCount), "1");
  EXPECT_EQ(list.Row(3).Marks, RowMark::ProcedureRow | RowMark::CalledAboveHead);
  EXPECT_EQ(list.Row(4).Marks, RowMarks(RowMark::DeclareLine));
  EXPECT_EQ(list.Row(5).Marks, RowMarks());
  // A tab after the keyword makes no Declare line: an ordinary early call.
  EXPECT_EQ(list.Row(7).Marks, RowMark::ProcedureRow | RowMark::CalledAboveHead);
  EXPECT_EQ(list.Row(8).Marks, RowMarks());
  EXPECT_EQ(test.host.Clipboard, ";main.pb\r\nDeclare Tabbed()\r\n");
}

TEST(AllProcedureCalls, EarlyCallComparesLineNumbersAcrossFiles) {
  TestProject test;
  test.Write("main.pb", "XIncludeFile \"inc.pb\"\n\n\n\n\nProcedure Foo()\nEndProcedure\n");
  test.Write("inc.pb", "Procedure Bar()\n  Foo()\nEndProcedure\n");
  test.TakeUp();
  const ResultList& list = RunAllCalls(test);
  EXPECT_EQ(TestProject::Cells(list, 1), (Texts{"2", "Foo()", "", "1 Procedure Bar()", "inc.pb"}));
  EXPECT_TRUE(list.Row(0).Marks.Has(RowMark::CalledAboveHead));
  EXPECT_EQ(test.host.Clipboard, ";main.pb\r\nDeclare Foo()\r\n");
}

TEST(AllProcedureCalls, InsideFlagSurvivesFilesAndProceduresButTheLabelDoesNot) {
  TestProject test;
  test.Write("main.pb",
             "XIncludeFile \"inc.pb\"\n"
             "Procedure Open()\n"
             "  Foo()\n");  // the file ends inside Open's body
  test.Write("inc.pb",
             "Foo()\n"
             "Procedure Foo()\n"
             "EndProcedure\n");
  test.TakeUp();
  const ResultList& list = RunAllCalls(test);
  // Open: no calls. Foo: the call in main.pb inside Open, and the call in inc.pb before
  // its first head, while the flag is still set but the label has been emptied.
  ASSERT_EQ(list.RowCount(), 6);
  EXPECT_EQ(TestProject::Cells(list, 3), (Texts{"3", "Foo()", "", "2 Procedure Open()", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 4), (Texts{"1", "Foo()", "", "", "inc.pb"}));
}

TEST(AllProcedureCalls, HeadLinesAndCommentLinesAreNeverSearched) {
  TestProject test;
  test.Write("main.pb",
             "Procedure Foo()\n"
             "EndProcedure\n"
             "Procedure A() : Foo()\n"
             "EndProcedure\n"
             "  ; Foo()\n"
             "ProcedureC Foo()\n");
  test.TakeUp();
  const ResultList& list = RunAllCalls(test);
  // Foo is called only by the ProcedureC line, which the head test does not accept.
  EXPECT_EQ(TestProject::Column(list, ColumnLine).at(1), "6");
  EXPECT_EQ(list.CellText(0, ColumnCount), "1");
}

TEST(AllProcedureCalls, StopLeavesTheStoppedProcedureUnfinishedAndStillBuildsDeclares) {
  TestProject test;
  test.Write("main.pb",
             "B()\n"
             "Procedure A()\n"
             "EndProcedure\n"
             "Procedure B()\n"
             "EndProcedure\n"
             "Procedure C()\n"
             "EndProcedure\n");
  test.TakeUp();
  ResultList& list = test.history.OpenResultList(
      ListKind::AllProcedureCalls, "All Procedure-Calls...");
  // Stop while the third procedure is being listed.
  test.host.StopWhen = [&list] {
    return list.RowCount() > 0 && list.CellText(list.RowCount() - 1, ColumnCalls) == "Procedure C()";
  };
  EXPECT_TRUE(ListAllProcedureCalls(test.project, list, test.host));
  EXPECT_EQ(TestProject::Column(list, ColumnCount), (Texts{"0", "", "1", "", "", ""}));
  ASSERT_EQ(list.RowCount(), 6);
  EXPECT_EQ(list.CellText(5, ColumnCalls), "Procedure C()");
  EXPECT_EQ(list.Row(5).Marks, RowMarks(RowMark::ProcedureRow));
  EXPECT_EQ(test.host.StopStates, (std::vector<bool>{true, false}));
  EXPECT_EQ(test.host.Clipboard, ";main.pb\r\nDeclare B()\r\n");
}

// A stop while the text is read (first polls) or while its candidate lines are found
// (the polls after one per line read) leaves the first procedure's row as the only row,
// written before the stop, so nothing arrives after "Abbruch!".
TEST(AllProcedureCalls, StopWhileReadingOrIndexingLeavesOnlyTheFirstProcedureRow) {
  TestProject test;
  test.Write("main.pb", "Procedure A()\nB()\nEndProcedure\nProcedure B()\nA()\nEndProcedure\n");
  test.TakeUp();
  for (const int64_t stop_at : {1, 6, 7, 12}) {  // first and last line read, then indexed
    ResultList& list = test.history.OpenResultList(
        ListKind::AllProcedureCalls, "All Procedure-Calls...");
    test.host.Polls = 0;
    int32_t rows_at_stop = -1;
    test.host.StopWhen = [&] {
      if (test.host.Polls != stop_at) return false;
      rows_at_stop = list.RowCount();
      return true;
    };
    EXPECT_TRUE(ListAllProcedureCalls(test.project, list, test.host)) << stop_at;
    EXPECT_EQ(rows_at_stop, 1) << stop_at;
    ASSERT_EQ(list.RowCount(), 1) << stop_at;
    EXPECT_EQ(list.CellText(0, ColumnCalls), "Procedure A()");
    EXPECT_EQ(list.CellText(0, ColumnCount), "");
  }
}

TEST(AllProcedureCalls, NoProceduresWriteNoRowsAndLeaveTheClipboardAlone) {
  TestProject test;
  test.Write("main.pb", "x = 1\n");
  test.TakeUp();
  test.project.Candidates.push_back({"Procedure Old()", "old.pb"});
  const ResultList& list = RunAllCalls(test);
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_TRUE(test.project.Candidates.empty());
  EXPECT_EQ(test.host.ClipboardWrites, 0);
}

TEST(AllProcedureCalls, ExampleProjectShowsADeclaredProcedureNeverCalledAndOneDeclaredAndCalledEarly) {
  TestProject test;
  const ResultList& list = RunAllCallsOfExample(test);
  int32_t unused = -1;
  int32_t describe = -1;
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    if (list.CellText(row, ColumnCalls) == "Procedure Unused()") unused = row;
    if (list.CellText(row, ColumnCalls) == "Procedure.s Describe(name$)") describe = row;
  }
  ASSERT_GE(unused, 0);
  ASSERT_GE(describe, 0);
  EXPECT_EQ(list.Row(unused).Marks, RowMark::ProcedureRow | RowMark::NeverCalled);
  EXPECT_EQ(list.CellText(unused, ColumnCount), "0");
  EXPECT_EQ(list.Row(unused + 1).Marks, RowMarks(RowMark::DeclareLine));
  EXPECT_EQ(list.Row(describe + 1).Marks, RowMarks(RowMark::DeclareLine));
  EXPECT_EQ(test.host.Clipboard.find("Describe"), std::string::npos) << test.host.Clipboard;
  EXPECT_NE(test.host.Clipboard.find("Declare LogLine(text$)"), std::string::npos);
}

TEST(AllProcedureCalls, EachAreaOfTheExampleModulesHasExactlyItsOwnCallsAndDeclare) {
  TestProject test;
  const ResultList& list = RunAllCallsOfExample(test);
  int32_t geo = 0;
  while (geo < list.RowCount() && list.CellText(geo, ColumnCalls) != "Procedure.i Area(w.i, h.i)") ++geo;
  ASSERT_LT(geo + 7, list.RowCount());
  // Each module's Declare is listed under its own Area only, and neither counts it. The
  // lines of main.pb ("?") move as the example grows; those of shapes.pbi are fixed.
  const Texts area_rows[] = {{"12", "Procedure.i Area(w.i, h.i)", "2", "", "shapes.pbi"},
                             {"?", "Debug Geo::Area(2, 3)", "", "", "main.pb"},
                             {"?", "Debug Area(1,1)   ", "", "", "main.pb"},
                             {"4", "Declare.i Area(w.i, h.i)", "", "", "shapes.pbi"},
                             {"", "", "", "", ""},
                             {"18", "Procedure.i Area(s$)", "1", "", "shapes.pbi"},
                             {"?", "Debug Text::Area(\"x\")", "", "", "main.pb"},
                             {"8", "Declare.i Area(s$)", "", "", "shapes.pbi"}};
  for (int32_t row = 0; row < 8; ++row) {
    Texts cells = TestProject::Cells(list, geo + row);
    if (area_rows[row][0] == "?") cells[0] = "?";
    EXPECT_EQ(cells, area_rows[row]) << "row " << geo + row;
  }
  EXPECT_EQ(list.Row(geo).Marks, RowMarks(RowMark::ProcedureRow));
  EXPECT_EQ(list.Row(geo + 3).Marks, RowMarks(RowMark::DeclareLine));
  EXPECT_EQ(list.Row(geo + 5).Marks, RowMarks(RowMark::ProcedureRow));
}

TEST(AllProcedureCalls, ACallThatTwoModulesInUseCouldTakeIsListedUnderBothAndMarked) {
  TestProject test;
  test.Write("main.pb",
             "Module Geo\n"
             "Procedure Area()\n"
             "EndProcedure\n"
             "EndModule\n"
             "Module Text\n"
             "Procedure Area()\n"
             "EndProcedure\n"
             "EndModule\n"
             "UseModule Geo\n"
             "UseModule Text\n"
             "Area()\n");
  test.TakeUp();
  const ResultList& list = RunAllCalls(test);
  ASSERT_EQ(list.RowCount(), 6);
  for (const int32_t row : {1, 4}) {
    EXPECT_EQ(TestProject::Cells(list, row), (Texts{"11", "Area()", "", "", "main.pb"}));
    EXPECT_EQ(list.Row(row).Marks, RowMarks(RowMark::Ambiguous));
  }
  EXPECT_EQ(TestProject::Column(list, ColumnCount), (Texts{"1", "", "", "1", "", ""}));
}
