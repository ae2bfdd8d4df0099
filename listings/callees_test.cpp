#include "listings/callees.h"

#include <gtest/gtest.h>

#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;

TEST(Callees, CallsInTheBodyWithTheCalleesLabelsMarksAndAnEmptyRowBetweenHeads) {
  TestProject test;
  test.Write("main.pb",
             "Procedure Walk(n)\n"                  // 1
             "  Declare Late()\n"                   // 2: no call
             "  late() : Walk(n - 1) ; Twin()\n"    // 3
             "  s$ = \"Twin()\"\n"                  // 4: in a string
             "EndProcedure\n"                       // 5
             "Procedure Late()\n"                   // 6
             "EndProcedure\n"                       // 7
             "CompilerIf #True\n"                   // 8
             "Procedure Walk(n)\n"                  // 9
             "  Late()\n"                           // 10
             "EndProcedure\n"                       // 11
             "CompilerEndIf\n"                      // 12
             "Walk(1)\n");                          // 13: main code
  test.TakeUp();
  ResultList& list = test.history.OpenResultList(ListKind::Callees, "Walk(n)");
  EXPECT_EQ(list.Caption(), "Calls in: Walk(n)...");
  EXPECT_EQ(SelectorEntryText(list), "Calls in: Walk(");
  ListCallees(test.project, list, test.host, {"Walk(n)"});
  ASSERT_EQ(list.RowCount(), 5);
  EXPECT_EQ(TestProject::Cells(list, 0),
            (Texts{"3", "late() : Walk(n - 1) ", "", "     1 Procedure Walk(n)", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 1),
            (Texts{"3", "late() : Walk(n - 1) ", "", "     6 Procedure Late()", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 2),
            (Texts{"3", "late() : Walk(n - 1) ", "", "     9 Procedure Walk(n)", "main.pb"}));
  EXPECT_EQ(list.Row(0).Marks, RowMarks());
  EXPECT_EQ(list.Row(1).Marks, RowMark::OtherCase | RowMark::CalledAboveHead);
  EXPECT_EQ(list.Row(2).Marks, RowMarks(RowMark::CalledAboveHead));
  EXPECT_EQ(TestProject::Cells(list, 3), (Texts{"", "", "", "", ""}));
  EXPECT_EQ(list.Row(3).Marks, RowMarks(RowMark::Separator));
  EXPECT_EQ(TestProject::Cells(list, 4),
            (Texts{"10", "Late()", "", "     6 Procedure Late()", "main.pb"}));
  EXPECT_EQ(test.host.StopStates, (std::vector<bool>{true, false}));
}

TEST(Callees, NothingForANameThatIsNoProcedureAndHowFarAStopGot) {
  TestProject test;
  test.Write("main.pb", "Procedure A()\n  B()\nEndProcedure\nProcedure B()\nEndProcedure\n");
  test.TakeUp();
  ResultList none(ListKind::Callees, "C");
  EXPECT_FALSE(WasStopped(ListCallees(test.project, none, test.host, {"C"})));
  EXPECT_EQ(none.RowCount(), 0);
  ResultList stopped(ListKind::Callees, "A");
  test.project.KeptText.reset();  // the files are read again, as after a take-up
  test.host.StopAtPoll = test.host.Polls + 3;
  EXPECT_TRUE(WasStopped(ListCallees(test.project, stopped, test.host, {"A"})));
  EXPECT_EQ(stopped.CellText(1, ColumnCalls), "stopped while reading the files: 0 of 1 read");
  EXPECT_EQ(stopped.RowCount(), 2);
  ResultList listed(ListKind::Callees, "A");
  EXPECT_FALSE(WasStopped(ListCallees(test.project, listed, test.host, {"A"})));
  EXPECT_EQ(listed.RowCount(), 1);
}
