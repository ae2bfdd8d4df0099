#include "listings/all_procedure_calls.h"

#include <gtest/gtest.h>

#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;

namespace {

/// Runs the listing into a new "All Procedure-Calls..." list, its Declare text into
/// `declares`, and returns the list.
ResultList& RunAllCalls(TestProject& test, std::string& declares) {
  ResultList& list = test.history.OpenResultList(
      ListKind::AllProcedureCalls, "All Procedure-Calls...");
  declares = ListAllProcedureCalls(test.project, list, test.host).DeclareText;
  return list;
}

/// A project, the rows of its listing, the selected row, the number of Declare
/// candidates and the Declare text.
struct ListingCase {
  std::string Title;
  std::vector<std::pair<std::string, std::string>> Files;
  Texts Rows;
  int32_t SelectedRow;
  size_t Candidates;
  std::string Declares;
};

/// Takes up the example project and runs the listing on it.
ResultList& RunAllCallsOfExample(TestProject& test, std::string& declares) {
  RecordingHost quiet;
  TakeUpProject(test.project, PBST_EXAMPLE_MAIN,
                test.history.OpenResultList(ListKind::Procedures, "Procedures"), quiet);
  return RunAllCalls(test, declares);
}

}  // namespace

TEST(AllProcedureCalls, RowsMarksSelectionAndDeclaresOfSmallProjects) {
  const ListingCase cases[] = {
      {"procedure rows, call rows and closing rows, added unselected",
       {{"main.pb",
         "Procedure.i Foo(a)\n"
         "  ProcedureReturn Foo(a - 1) ; recursion\n"
         "EndProcedure\n"
         "Procedure Unused()\n"
         "EndProcedure\n"
         "x = Foo(1) + Foo(2)\n"}},
       {"1|Procedure.i Foo(a)|2||main.pb #procedure",
        "2|ProcedureReturn Foo(a - 1) ||1 Procedure.i Foo(a)|main.pb",
        "6|x = Foo(1) + Foo(2)|||main.pb", "|||| #closing",
        "4|Procedure Unused()|0||main.pb #procedure, never called", "|||| #closing"},
       4, 0, ""},
      // Foo is called above its head in another letter case, Lonely never, Late below it.
      {"never called, other case and calls above the head",
       {{"main.pb",
         "foo(1)\n"
         "Procedure Foo(a)\n"
         "EndProcedure\n"
         "Procedure Lonely()\n"
         "EndProcedure\n"
         "Procedure Late()\n"
         "EndProcedure\n"
         "Late()\n"}},
       {"2|Procedure Foo(a)|1||main.pb #procedure, above head", "1|foo(1)|||main.pb #other case",
        "|||| #closing", "4|Procedure Lonely()|0||main.pb #procedure, never called",
        "|||| #closing", "6|Procedure Late()|1||main.pb #procedure", "8|Late()|||main.pb",
        "|||| #closing"},
       6, 2, ";main.pb\r\nDeclare Foo(a)\r\n"},  // the Declare header plus Foo
      // Unused is declared, never called: count 0, its Declare row listed and marked.
      // Early is called above its head (red line cell), but declared: no candidate. A tab
      // after the keyword makes no Declare line: Tabbed's is an ordinary early call.
      {"Declare lines are listed but neither count nor ask for a Declare",
       {{"main.pb",
         "Declare Unused()\n"
         "  DeclareC.i Early(a)\n"
         "Declare\tTabbed()\n"
         "x = Early(1)\n"
         "Procedure Unused()\n"
         "EndProcedure\n"
         "Procedure.i Early(a)\n"
         "EndProcedure\n"
         "Procedure Tabbed()\n"
         "EndProcedure\n"}},
       {"5|Procedure Unused()|0||main.pb #procedure, never called",
        "1|Declare Unused()|||main.pb #declare", "|||| #closing",
        "7|Procedure.i Early(a)|1||main.pb #procedure, above head",
        "2|DeclareC.i Early(a)|||main.pb #declare", "4|x = Early(1)|||main.pb", "|||| #closing",
        "9|Procedure Tabbed()|1||main.pb #procedure, above head",
        "3|Declare\tTabbed()|||main.pb", "|||| #closing"},
       8, 2, ";main.pb\r\nDeclare Tabbed()\r\n"},
      {"an early call compares line numbers across files",
       {{"main.pb", "XIncludeFile \"inc.pb\"\n\n\n\n\nProcedure Foo()\nEndProcedure\n"},
        {"inc.pb", "Procedure Bar()\n  Foo()\nEndProcedure\n"}},
       {"6|Procedure Foo()|1||main.pb #procedure, above head", "2|Foo()||1 Procedure Bar()|inc.pb",
        "|||| #closing", "1|Procedure Bar()|0||inc.pb #procedure, never called", "|||| #closing"},
       3, 2, ";main.pb\r\nDeclare Foo()\r\n"},
      // The call in inc.pb before its first head comes while the flag is still set but the
      // label has been emptied.
      {"the inside flag survives files and procedures but the label does not",
       {{"main.pb",
         "XIncludeFile \"inc.pb\"\n"
         "Procedure Open()\n"
         "  Foo()\n"},  // the file ends inside Open's body
        {"inc.pb",
         "Foo()\n"
         "Procedure Foo()\n"
         "EndProcedure\n"}},
       {"2|Procedure Open()|0||main.pb #procedure, never called", "|||| #closing",
        "2|Procedure Foo()|2||inc.pb #procedure, above head", "3|Foo()||2 Procedure Open()|main.pb",
        "1|Foo()|||inc.pb", "|||| #closing"},
       4, 2, ";inc.pb\r\nDeclare Foo()\r\n"},
      // Foo is called only by the ProcedureC line, which the head test does not accept.
      {"head lines and comment lines are never searched",
       {{"main.pb",
         "Procedure Foo()\n"
         "EndProcedure\n"
         "Procedure A() : Foo()\n"
         "EndProcedure\n"
         "  ; Foo()\n"
         "ProcedureC Foo()\n"}},
       {"1|Procedure Foo()|1||main.pb #procedure", "6|ProcedureC Foo()|||main.pb", "|||| #closing",
        "3|Procedure A() : Foo()|0||main.pb #procedure, never called", "|||| #closing",
        "6|ProcedureC Foo()|1||main.pb #procedure", "6|ProcedureC Foo()|||main.pb",
        "|||| #closing"},
       6, 0, ""},
      {"a call that two modules in use could take is listed under both and marked",
       {{"main.pb", std::string(kGeoAndTextAreas) + "UseModule Geo\nUseModule Text\nArea()\n"}},
       {"2|Procedure Area()|1||main.pb #procedure", "11|Area()|||main.pb #ambiguous",
        "|||| #closing", "6|Procedure Area()|1||main.pb #procedure",
        "11|Area()|||main.pb #ambiguous", "|||| #closing"},
       4, 0, ""},
  };
  for (const ListingCase& c : cases) {
    SCOPED_TRACE(c.Title);
    TestProject test;
    for (const auto& [name, text] : c.Files) test.Write(name, text);
    test.TakeUp();
    std::string declares;
    const ResultList& list = RunAllCalls(test, declares);
    EXPECT_EQ(TestProject::RowTexts(list), c.Rows);
    EXPECT_EQ(list.SelectedRow(), c.SelectedRow);
    EXPECT_EQ(test.project.Candidates.size(), c.Candidates);
    EXPECT_EQ(declares, c.Declares);
  }
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
  const ListingResult result = ListAllProcedureCalls(test.project, list, test.host);
  EXPECT_TRUE(WasStopped(result));
  EXPECT_EQ(TestProject::Column(list, ColumnCount), (Texts{"0", "", "1", "", "", ""}));
  ASSERT_EQ(list.RowCount(), 6);
  EXPECT_EQ(list.CellText(5, ColumnCalls), "Procedure C()");
  EXPECT_EQ(list.Row(5).Marks, RowMarks(RowMark::ProcedureRow));
  EXPECT_EQ(test.host.StopStates, (std::vector<bool>{true, false}));
  EXPECT_EQ(result.DeclareText, ";main.pb\r\nDeclare B()\r\n");
}

// Call rows view their lines and labels in bytes the list holds rather than copy them, one
// copy each per call: two calls under one head show the same label bytes.
TEST(AllProcedureCalls, CallRowsViewTheirLinesAndOneLabelPerHead) {
  TestProject test;
  test.Write("main.pb",
             "Procedure A()\nEndProcedure\nProcedure B()\n  A()\n  A() : A()\nEndProcedure\n");
  test.TakeUp();
  std::string declares;
  const ResultList& list = RunAllCalls(test, declares);
  ASSERT_EQ(TestProject::Column(list, ColumnFunction),
            (Texts{"", "3 Procedure B()", "3 Procedure B()", "", "", ""}));
  EXPECT_EQ(list.CellText(1, ColumnFunction).data(), list.CellText(2, ColumnFunction).data());
  const auto bytes = test.project.Texts.Bytes(test.folder.Path() + "main.pb");
  ASSERT_NE(bytes, nullptr);
  const std::string_view line = list.CellText(2, ColumnCalls);
  EXPECT_EQ(line, "A() : A()");
  EXPECT_EQ(line.data(), bytes->data() + bytes->find("A() : A()"));
}

// A stop while the text is read (first polls) or while its candidate lines are found
// (the polls after one per line read) leaves the first procedure's row as the only row,
// written before the stop, so nothing arrives after "Abbruch!".
TEST(AllProcedureCalls, StopWhileReadingOrIndexingLeavesOnlyTheFirstProcedureRow) {
  TestProject test;
  test.Write("main.pb", "Procedure A()\nB()\nEndProcedure\nProcedure B()\nA()\nEndProcedure\n");
  test.TakeUp();
  // The take-up keeps the text, which a run lists from as long as the files are the same.
  ASSERT_NE(test.project.KeptText, nullptr);
  for (const int64_t stop_at : {1, 6, 7, 12}) {  // first and last line read, then indexed
    ResultList& list = test.history.OpenResultList(
        ListKind::AllProcedureCalls, "All Procedure-Calls...");
    test.project.KeptText.reset();  // as after a file changed: the text is read again
    test.host.Polls = 0;
    int32_t rows_at_stop = -1;
    test.host.StopWhen = [&] {
      if (test.host.Polls != stop_at) return false;
      rows_at_stop = list.RowCount();
      return true;
    };
    EXPECT_TRUE(WasStopped(ListAllProcedureCalls(test.project, list, test.host))) << stop_at;
    EXPECT_EQ(rows_at_stop, 1) << stop_at;
    ASSERT_EQ(list.RowCount(), 1) << stop_at;
    EXPECT_EQ(list.CellText(0, ColumnCalls), "Procedure A()");
    EXPECT_EQ(list.CellText(0, ColumnCount), "");
  }
}

TEST(AllProcedureCalls, NoProceduresWriteNoRowsAndNoDeclares) {
  TestProject test;
  test.Write("main.pb", "x = 1\n");
  test.TakeUp();
  test.project.Candidates.push_back({"Procedure Old()", "old.pb"});
  std::string declares = "before";
  const ResultList& list = RunAllCalls(test, declares);
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_TRUE(test.project.Candidates.empty());
  EXPECT_EQ(declares, "");
}

TEST(AllProcedureCalls, ExampleProjectShowsADeclaredProcedureNeverCalledAndOneDeclaredAndCalledEarly) {
  TestProject test;
  std::string declares;
  const ResultList& list = RunAllCallsOfExample(test, declares);
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
  EXPECT_EQ(declares.find("Describe"), std::string::npos) << declares;
  EXPECT_NE(declares.find("Declare LogLine(text$)"), std::string::npos);
}

TEST(AllProcedureCalls, EachAreaOfTheExampleModulesHasExactlyItsOwnCallsAndDeclare) {
  TestProject test;
  std::string declares;
  const ResultList& list = RunAllCallsOfExample(test, declares);
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
