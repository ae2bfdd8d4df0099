#include "listings/unused.h"

#include <gtest/gtest.h>

#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;

namespace {

ResultList& RunUnused(TestProject& test) {
  ResultList& list = test.history.OpenResultList(ListKind::Unused, "Unused");
  EXPECT_FALSE(WasStopped(ListUnused(test.project, list, test.host)));
  return list;
}

}  // namespace

TEST(Unused, ReasonsEntryPointsAndWhatIsNoCall) {
  TestProject test;
  test.Write("main.pb",
             "IncludeFile \"inc.pbi\"\n"
             "Procedure Main()\n"
             "  A()\n"
             "  SetCallback(@Handler())\n"
             "EndProcedure\n"
             "Procedure A()\n"
             "EndProcedure\n"
             "Procedure B()\n"
             "  C()\n"
             "EndProcedure\n"
             "Procedure C()\n"
             "EndProcedure\n"
             "Procedure Dead()\n"
             "  B() : Dead() ; Quiet() in a comment\n"
             "EndProcedure\n"
             "ProcedureDLL Exported()\n"
             "  Helper()\n"
             "EndProcedure\n"
             "Procedure Helper()\n"
             "EndProcedure\n"
             "Procedure Handler()\n"
             "EndProcedure\n"
             "ProcedureC Alone()\n"
             "EndProcedure\n"
             "Main()\n");
  // X and Y only call each other; Quiet has only a Declare and a call in a comment.
  test.Write("inc.pbi",
             "Declare Quiet()\n"
             "Procedure X()\n  Y()\nEndProcedure\n"
             "Procedure Y()\n  X()\nEndProcedure\n"
             "Procedure Quiet()\nEndProcedure\n");
  test.TakeUp();
  const ResultList& list = RunUnused(test);
  EXPECT_EQ(TestProject::Column(list, ColumnCalls),
            (Texts{"Procedure B()", "Procedure C()", "Procedure Dead()", "ProcedureC Alone()",
                   "Procedure X()", "Procedure Y()", "Procedure Quiet()", "",
                   "3 never called, 4 only called by unused"}));
  // A ProcedureC head line names its procedure but is no call of it.
  EXPECT_EQ(TestProject::Column(list, ColumnCount),
            (Texts{"only called by unused", "only called by unused", "never called",
                   "never called", "only called by unused", "only called by unused",
                   "never called", "", ""}));
  // A row stands for its procedure: head line and text, its label for the climb, its file.
  EXPECT_EQ(TestProject::Cells(list, 4),
            (Texts{"2", "Procedure X()", "only called by unused", "", "inc.pbi"}));
  EXPECT_EQ(list.Row(0).Marks, RowMarks(RowMark::Finding));
  EXPECT_EQ(list.Row(8).Marks, RowMarks());
}

TEST(Unused, ListsEveryProcedureOfAProjectWithoutMainCodeAndHowFarAStopGot) {
  TestProject test;
  test.Write("main.pb", "Procedure A()\n  B()\nEndProcedure\nProcedure B()\nEndProcedure\n");
  test.TakeUp();
  EXPECT_EQ(TestProject::Column(RunUnused(test), ColumnCount),
            (Texts{"never called", "only called by unused", "", ""}));
  // A stop while the five lines are read, and one after: the rows say how far it got. The
  // text and the graph's pieces are dropped first, so that all is read and found again.
  for (const auto& [poll, how_far] :
       {std::pair{3, "stopped while reading the files: 0 of 1 read"},
        std::pair{8, "stopped while finding the calls: every file read"}}) {
    test.project.Pieces.Clear();
    test.project.KeptText.reset();
    test.host.StopAtPoll = test.host.Polls + poll;
    ResultList& stopped = test.history.OpenResultList(ListKind::Unused, "Unused");
    EXPECT_TRUE(WasStopped(ListUnused(test.project, stopped, test.host)));
    EXPECT_EQ(TestProject::Column(stopped, ColumnCalls), (Texts{"", how_far}));
    EXPECT_EQ(test.host.StopStates.back(), false);
  }
}

TEST(Unused, ARunAgainReadsAFileChangedSinceAndUsesTheRestAsItWas) {
  TestProject test;
  test.Write("main.pb", "XIncludeFile \"b.pbi\"\nProcedure A()\n  B()\nEndProcedure\n");
  test.Write("b.pbi", "Procedure B()\nEndProcedure\n");
  test.TakeUp();
  EXPECT_EQ(TestProject::Column(RunUnused(test), ColumnCount),
            (Texts{"never called", "only called by unused", "", ""}));
  test.Write("main.pb", "XIncludeFile \"b.pbi\"\nProcedure A()\n  B()\nEndProcedure\nA()\n");
  test.project.Texts.DropChanged();  // as the window does when a run starts
  EXPECT_EQ(TestProject::Column(RunUnused(test), ColumnCalls), (Texts{"", "0 never called, 0 only called by unused"}));
}

TEST(Unused, RealHeadsAreProceduresMacroBodiesCallAndNamesInBlocksDoNot) {
  TestProject test;
  test.Write("main.pb",
             "Macro Twice(x)\n"
             "  Helper(x) : Helper(x)\n"
             "EndMacro\n"
             "Prototype Proto(a)\n"
             "Structure Browser\n"
             "  ProcedureBrowserScroll.l\n"
             "  Method.i\n"
             "EndStructure\n"
             "Interface IShape\n"
             "  Method(a.i)\n"
             "EndInterface\n"
             "ImportC \"\"\n"
             "  Imported(a.i)\n"
             "EndImport\n"
             "ProcedureDLL.i Exported()\n"  // a typed DLL export is an entry point
             "EndProcedure\n"
             "Procedure Dead()\n"
             "  SetCallback(@Kept())\n"  // an address taken anywhere keeps Kept live
             "EndProcedure\n"
             "Procedure Kept()\nEndProcedure\n"
             "Procedure Helper(x)\nEndProcedure\n"
             "Procedure Proto(a)\nEndProcedure\n"
             "Procedure Method(a.i)\nEndProcedure\n"
             "Procedure Imported(a.i)\nEndProcedure\n"
             "ProcedureC Alone()\n"
             "  FromAlone()\n"  // in Alone's body, so no main code
             "EndProcedure\n"
             "Procedure FromAlone()\nEndProcedure\n");
  test.TakeUp();
  EXPECT_EQ(TestProject::Column(RunUnused(test), ColumnCalls),
            (Texts{"Procedure Dead()", "Procedure Proto(a)", "Procedure Method(a.i)",
                   "Procedure Imported(a.i)", "ProcedureC Alone()", "Procedure FromAlone()", "",
                   "5 never called, 1 only called by unused"}));
}
