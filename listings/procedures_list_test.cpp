#include "listings/procedures_list.h"

#include <gtest/gtest.h>

#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;

TEST(ProceduresList, ListsEveryLineStartingWithProcedureExceptReturn) {
  TestProject test;
  test.Write("main.pb",
             "Procedure.s A()\n"
             "ProcedureReturn x\n"
             "ProcedureC B()\n"
             "ProcedureDLL C()\n"
             "ProcedureCDLL D()\n"
             "ProceduresDone = 1\n"
             "Procedure\n"
             "ProcedureRe\n"
             "\tProcedure Tabbed()\n"
             "   Procedure Indented() ; sums up\n"
             "Procedure E(a.s = \"x;y\")\n");
  const ResultList& list = test.TakeUp();
  EXPECT_EQ(TestProject::Column(list, ColumnFunction),
            (Texts{"Procedure.s A()", "ProcedureC B()", "ProcedureDLL C()", "ProcedureCDLL D()",
                   "ProceduresDone = 1", "Procedure", "ProcedureRe", "Procedure Indented() ",
                   "Procedure E(a.s = \"x"}));
  ASSERT_EQ(test.project.Procedures.size(), 9u);
  EXPECT_EQ(test.project.Procedures[7].HeadText, "Procedure Indented() ");
  EXPECT_EQ(test.project.Procedures[7].LineNumber, 10);
  EXPECT_EQ(test.project.Procedures[7].FileName, "main.pb");
}

TEST(ProceduresList, RowHoldsPaddedLineNumberHeadAndFileName) {
  TestProject test;
  test.folder.MakeFolder("inc");
  test.Write("inc/util.pbi", "\n\n\n\n\n\nProcedure Util()\n");
  // The include names a folder relative to the working directory, so give the full path.
  test.Write("main.pb", "IncludeFile \"" + test.folder.Path() + "inc/util.pbi\"\n");
  const ResultList& list = test.TakeUp();
  ASSERT_EQ(list.RowCount(), 1);
  EXPECT_EQ(TestProject::Cells(list, 0), (Texts{"     7", "", "", "Procedure Util()", "util.pbi"}));
  EXPECT_EQ(list.SelectedRow(), 0);
  EXPECT_EQ(test.project.Procedures[0].FileName, "util.pbi");
}

TEST(ProceduresList, BandAlternatesOnlyBetweenFilesWithHeads) {
  TestProject test;
  test.Write("main.pb", "XIncludeFile \"b.pb\"\nXIncludeFile \"c.pb\"\nProcedure A()\n");
  test.Write("b.pb", "x = 1\n");
  test.Write("c.pb", "Procedure C1()\nProcedure C2()\n");
  const ResultList& list = test.TakeUp();
  ASSERT_EQ(list.RowCount(), 3);
  EXPECT_EQ(list.Row(0).Marks, RowMarks(RowMark::FileBand));
  EXPECT_EQ(list.Row(1).Marks, RowMarks());
  EXPECT_EQ(list.Row(2).Marks, RowMarks());
}

TEST(ProceduresList, MissingFileIsSkippedWithoutChangingTheBand) {
  TestProject test;
  test.Write("main.pb", "IncludeFile \"a.pb\"\nIncludeFile \"missing.pb\"\nIncludeFile \"c.pb\"\n");
  test.Write("a.pb", "Procedure A()\n");
  test.Write("c.pb", "Procedure C()\n");
  const ResultList& list = test.TakeUp();
  EXPECT_EQ(TestProject::Column(list, ColumnFunction), (Texts{"Procedure A()", "Procedure C()"}));
  EXPECT_EQ(list.Row(0).Marks, RowMarks(RowMark::FileBand));
  EXPECT_EQ(list.Row(1).Marks, RowMarks());
}

TEST(ProceduresList, ProjectWithoutHeadsLeavesListAndIndexEmpty) {
  TestProject test;
  test.Write("main.pb", "x = 1\n");
  test.project.Procedures.push_back({"Procedure Old()", "old.pb", 1});
  const ResultList& list = test.TakeUp();
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_TRUE(test.project.Procedures.empty());
}

TEST(ProceduresList, StopKeepsWhatWasFoundAndSwitchesStopOff) {
  TestProject test;
  test.Write("main.pb", "IncludeFile \"b.pb\"\nProcedure A()\nProcedure B()\nProcedure C()\n");
  test.Write("b.pb", "Procedure D()\n");
  test.TakeUp();
  ResultList& list = test.history.OpenResultList(ListKind::Procedures, "Procedures");
  test.host.StopAtPoll = 3;  // after the line of B
  ListProcedures(test.project, list, test.host);
  EXPECT_EQ(TestProject::Column(list, ColumnFunction), (Texts{"Procedure A()", "Procedure B()"}));
  EXPECT_EQ(test.project.Procedures.size(), 2u);
  EXPECT_EQ(test.host.Polls, 3);
  EXPECT_EQ(test.host.StopStates, (std::vector<bool>{true, false}));
}

TEST(ProceduresList, PollsOncePerLineRead) {
  TestProject test;
  test.Write("main.pb", "IncludeFile \"b.pb\"\r\n; comment\r\n\r\nProcedure A()");
  test.Write("b.pb", "x\ny\n");
  test.TakeUp();
  ResultList& list = test.history.OpenResultList(ListKind::Procedures, "Procedures");
  ListProcedures(test.project, list, test.host);
  EXPECT_EQ(test.host.Polls, 6);
}

TEST(ProceduresList, AProcedureWhoseAddressIsTakenAnywhereIsACallback) {
  TestProject test;
  // The address is taken in main code above the head file, and through a module name;
  // in a string or a comment it is not taken.
  test.Write("main.pb",
             "SetCallback(@handler())\n"
             "x = @Mod::Other ()\n"
             "Debug \"@Quoted()\" ; @Commented()\n"
             "IncludeFile \"inc.pbi\"\n");
  test.Write("inc.pbi",
             "Procedure Handler()\nEndProcedure\n"
             "Procedure Other()\nEndProcedure\n"
             "Procedure Quoted()\nEndProcedure\n"
             "Procedure Commented()\nEndProcedure\n");
  const ResultList& list = test.TakeUp();
  ASSERT_EQ(list.RowCount(), 4);
  std::vector<bool> callbacks;
  for (const ProcedureEntry& entry : test.project.Procedures) callbacks.push_back(entry.AddressTaken);
  EXPECT_EQ(callbacks, (std::vector<bool>{true, true, false, false}));
  EXPECT_TRUE(list.Row(0).Marks.Has(RowMark::Callback));
  EXPECT_FALSE(list.Row(2).Marks.Has(RowMark::Callback));
}
