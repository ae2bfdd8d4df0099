#include "listings/procedure_calls.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;

namespace {

/// A taken-up project of two files with calls of Foo in both and a file without calls between.
class ProcedureCallsOfFoo : public testing::Test {
 protected:
  void SetUp() override {
    test.Write("main.pb",
               "XIncludeFile \"none.pb\"\n"
               "XIncludeFile \"inc.pb\"\n"
               "Procedure Foo(a)\n"
               "EndProcedure\n"
               "Foo(1)\n"
               "; Foo(2)\n"
               "x = 1 ; Foo(3)\n");
    test.Write("none.pb", "y = 2\n");
    test.Write("inc.pb",
               "Procedure.i Bar(x)\n"
               "\t  r = foo (x) : Foo(x)\n"
               "  q = foo(2)\n"
               "EndProcedure\n");
    test.TakeUp();
  }

  /// Lists the calls of `name` in a new list and returns how many were found.
  int32_t Show(std::string_view name) {
    return OpenProcedureCalls(test.project, test.history, test.host, name);
  }

  TestProject test;
};

}  // namespace

TEST_F(ProcedureCallsOfFoo, RowsShowLineCallLabelAndFileWithSeparatorPerFile) {
  EXPECT_EQ(Show("Foo"), 5);
  const ResultList& list = *test.history.Current();
  EXPECT_EQ(list.Kind(), ListKind::ProcedureCalls);
  EXPECT_EQ(list.Caption(), "Proc: Foo...");
  EXPECT_EQ(TestProject::Cells(list, 0), (Texts{"", "", "", "", ""}));
  EXPECT_EQ(TestProject::Cells(list, 1), (Texts{"5", "Foo(1)", "", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 2), (Texts{"", "", "", "", ""}));
  EXPECT_EQ(TestProject::Cells(list, 3),
            (Texts{"2", "r = foo (x) : Foo(x)", "", "     1 Procedure.i Bar(x)", "inc.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 4), (Texts{"3", "q = foo(2)", "", "     1 Procedure.i Bar(x)", "inc.pb"}));
  EXPECT_EQ(list.SelectedRow(), 4);
}

TEST_F(ProcedureCallsOfFoo, BandsAlternateBetweenFilesWithCallsAndSeparatorsHaveNoBand) {
  Show("Foo");
  const ResultList& list = *test.history.Current();
  EXPECT_EQ(list.Row(0).Marks, RowMarks(RowMark::Separator));
  EXPECT_EQ(list.Row(1).Marks, RowMarks(RowMark::FileBand));
  EXPECT_EQ(list.Row(2).Marks, RowMarks(RowMark::Separator));
  EXPECT_FALSE(list.Row(3).Marks.Has(RowMark::FileBand));
}

TEST_F(ProcedureCallsOfFoo, CallInAnotherLetterCaseOnlyIsMarked) {
  Show("Foo");
  const ResultList& list = *test.history.Current();
  EXPECT_FALSE(list.Row(1).Marks.Has(RowMark::OtherCase));
  EXPECT_FALSE(list.Row(3).Marks.Has(RowMark::OtherCase));  // Foo( also on the line
  EXPECT_EQ(list.Row(4).Marks, RowMarks(RowMark::OtherCase));
}

TEST_F(ProcedureCallsOfFoo, NameFormsGiveTheSameRowsAndCaptionsShowTheName) {
  const std::pair<const char*, const char*> cases[] = {
      {"Foo", "Proc: Foo..."}, {"Foo(a)", "Proc: Foo(a)..."}, {"Foo(", "Proc: Foo(..."},
      {"  Foo", "Proc: Foo..."}, {"Foo (a)", "Proc: Foo (a)..."}};
  for (const auto& [name, caption] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Show(name), 5);
    EXPECT_EQ(test.history.Current()->Caption(), caption);
    EXPECT_EQ(TestProject::Column(*test.history.Current(), ColumnLine),
              (Texts{"", "5", "", "2", "3"}));
  }
}

TEST(ProcedureCalls, DoubleClickTakesTheProcedureFromTheSelectedRow) {
  TestProject test;
  test.Write("main.pb",
             "Procedure.i Bar(x)\n"
             "EndProcedure\n"
             "Procedure Foo()\n"
             "  Bar(1)\n"
             "EndProcedure\n"
             "Foo()\n");
  ResultList& procedures = test.TakeUp();
  procedures.SelectRow(1);
  EXPECT_EQ(SelectedRowText(procedures), "     3 Procedure Foo()");
  EXPECT_EQ(OpenProcedureCalls(test.project, test.history, test.host, ""), 2);
  EXPECT_EQ(test.history.Current()->Subject(), "Foo()");

  // Climb: the call of Bar inside Foo, then from that row the calls of Foo.
  OpenProcedureCalls(test.project, test.history, test.host, "Bar");
  ResultList& bar_calls = *test.history.Current();
  ASSERT_EQ(bar_calls.RowCount(), 2);
  EXPECT_EQ(bar_calls.CellText(1, ColumnFunction), "     3 Procedure Foo()");
  EXPECT_EQ(OpenProcedureCalls(test.project, test.history, test.host, ""), 2);
  EXPECT_EQ(test.history.Current()->Caption(), "Proc: Foo()...");
  EXPECT_EQ(test.history.Count(), 4);
}

TEST(ProcedureCalls, RowWithoutProcedureOpensNoList) {
  TestProject test;
  test.Write("main.pb", "Procedure Foo()\nEndProcedure\nFoo()\n");
  test.TakeUp();
  OpenProcedureCalls(test.project, test.history, test.host, "Foo");
  ResultList& calls = *test.history.Current();
  calls.SelectRow(1);  // a call outside any procedure
  EXPECT_EQ(OpenProcedureCalls(test.project, test.history, test.host, ""), 0);
  calls.SelectRow(0);  // the separator
  EXPECT_EQ(OpenProcedureCalls(test.project, test.history, test.host, ""), 0);
  calls.SelectRow(-1);
  EXPECT_EQ(OpenProcedureCalls(test.project, test.history, test.host, ""), 0);
  EXPECT_EQ(test.history.Count(), 2);
}

TEST(ProcedureCalls, ProcedureNeverCalledStillOpensAnEmptyList) {
  TestProject test;
  test.Write("main.pb", "Procedure Foo()\nEndProcedure\n");
  test.TakeUp();
  EXPECT_EQ(OpenProcedureCalls(test.project, test.history, test.host, "Foo("), 0);
  EXPECT_EQ(test.history.Count(), 2);
  EXPECT_EQ(test.history.Current()->RowCount(), 0);
  EXPECT_EQ(test.host.StopStates, (std::vector<bool>{true, false}));
}

TEST(ProcedureCalls, StopReturnsZeroAndKeepsTheRowsSoFar) {
  TestProject test;
  test.Write("main.pb", "Foo()\nFoo()\nFoo()\nProcedure Foo()\nEndProcedure\n");
  test.TakeUp();
  // Stop once the separator and two calls are listed.
  test.host.StopWhen = [&test] { return test.history.Current()->RowCount() == 3; };
  EXPECT_EQ(OpenProcedureCalls(test.project, test.history, test.host, "Foo"), 0);
  EXPECT_EQ(TestProject::Column(*test.history.Current(), ColumnLine), (Texts{"", "1", "2"}));
  EXPECT_EQ(test.host.StopStates, (std::vector<bool>{true, false}));
}

TEST(ProcedureCalls, NameFromHeadIsTheTextAfterTheFirstBlank) {
  EXPECT_EQ(ProcedureNameFromHead("Procedure.i  Bar(x)"), "Bar(x)");
  EXPECT_EQ(ProcedureNameFromHead("Procedure Foo"), "Foo");
  EXPECT_EQ(ProcedureNameFromHead("Procedure.i"), "");
}

TEST(ProcedureCalls, ModuleProceduresAreListedUnderTheirQualifiedNames) {
  TestProject test;
  test.Write("main.pb",
             "Procedure Area(a)\n"
             "EndProcedure\n"
             "Module Geo\n"
             "Procedure Area(w, h)\n"
             "  Area(1, 2)\n"
             "EndProcedure\n"
             "EndModule\n"
             "Area(0)\n"
             "Geo::Area(3, 4)\n");
  ResultList& procedures = test.TakeUp();
  EXPECT_EQ(TestProject::Cells(procedures, 1),
            (Texts{"     4", "Module Geo", "", "Procedure Area(w, h)", "main.pb"}));
  EXPECT_EQ(procedures.CellText(0, ColumnCalls), "");

  // A double-click on Geo's head lists Geo's calls under the qualified name.
  procedures.SelectRow(1);
  EXPECT_EQ(OpenProcedureCalls(test.project, test.history, test.host, ""), 3);
  ResultList& geo_calls = *test.history.Current();
  EXPECT_EQ(geo_calls.Caption(), "Proc: Geo::Area(w, h)...");
  EXPECT_EQ(SelectorEntryText(geo_calls), "Geo::Area(");
  EXPECT_EQ(TestProject::Column(geo_calls, ColumnLine), (Texts{"", "5", "9"}));

  // From the call row inside Geo's Area its label names Geo's head again.
  geo_calls.SelectRow(1);
  EXPECT_EQ(ProcedureToList(test.project, &geo_calls, "")->Name, "Geo::Area(w, h)");

  // The global head lists only the global procedure's call; the typed plain name both.
  procedures.SelectRow(0);
  const std::optional<ProcedureChoice> global = ProcedureToList(test.project, &procedures, "");
  ASSERT_TRUE(global.has_value());
  EXPECT_EQ(global->Name, "Area(a)");
  EXPECT_TRUE(global->WithoutModule);
  ResultList& global_calls = test.history.OpenResultList(ListKind::ProcedureCalls, global->Name);
  ListProcedureCalls(test.project, global_calls, test.host, {global->Name, global->WithoutModule});
  EXPECT_EQ(TestProject::Column(global_calls, ColumnLine), (Texts{"", "8"}));
  EXPECT_FALSE(ProcedureToList(test.project, nullptr, "Area")->WithoutModule);
  OpenLookUp(test.project, test.history, test.host, "geo :: area");
  EXPECT_EQ(TestProject::Column(*test.history.Current(), ColumnLine), (Texts{"", "5", "9"}));
  OpenLookUp(test.project, test.history, test.host, "Area");
  EXPECT_EQ(TestProject::Column(*test.history.Current(), ColumnLine), (Texts{"", "5", "8", "9"}));
}
