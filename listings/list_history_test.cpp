#include "listings/list_history.h"

#include <gtest/gtest.h>

TEST(ListHistory, OpenAppendsAfterTheLastListEvenWhenAnOlderOneIsCurrent) {
  ListHistory history;
  history.OpenResultList(ListKind::Procedures, "Procedures");
  history.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  history.SetCurrent(0);
  ResultList& opened = history.OpenResultList(ListKind::ProcedureCalls, "Foo");
  ASSERT_EQ(history.Count(), 3);
  EXPECT_EQ(history.CurrentIndex(), 2);
  EXPECT_EQ(&history.At(2), &opened);
  EXPECT_EQ(history.Current(), &opened);
}

TEST(ListHistory, CloseMakesThePreviousListCurrent) {
  ListHistory history;
  history.OpenResultList(ListKind::Procedures, "Procedures");
  history.OpenResultList(ListKind::AllProcedureCalls, "A");
  ResultList& third = history.OpenResultList(ListKind::AllProcedureCalls, "B");
  history.SetCurrent(1);
  history.CloseCurrentResultList();
  ASSERT_EQ(history.Count(), 2);
  EXPECT_EQ(history.CurrentIndex(), 0);
  EXPECT_EQ(&history.At(1), &third);  // lists keep their address
}

TEST(ListHistory, ClosingTheFirstListLeavesNoneCurrent) {
  ListHistory history;
  history.OpenResultList(ListKind::Procedures, "Procedures");
  history.OpenResultList(ListKind::AllProcedureCalls, "A");
  history.SetCurrent(0);
  history.CloseCurrentResultList();
  EXPECT_EQ(history.Count(), 1);
  EXPECT_EQ(history.CurrentIndex(), -1);
  EXPECT_EQ(history.Current(), nullptr);
  history.CloseCurrentResultList();  // nothing current: nothing closes
  EXPECT_EQ(history.Count(), 1);
  history.SetLastCurrent();
  EXPECT_EQ(history.Current()->Subject(), "A");
}

TEST(ListHistory, SetCurrentOutOfRangeIsIgnored) {
  ListHistory history;
  history.OpenResultList(ListKind::Procedures, "Procedures");
  history.SetCurrent(1);
  history.SetCurrent(-1);
  EXPECT_EQ(history.CurrentIndex(), 0);
}

TEST(ListHistory, SelectorEntriesFollowHistoryOrder) {
  ListHistory history;
  history.OpenResultList(ListKind::Procedures, "Procedures");
  history.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  history.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  history.OpenResultList(ListKind::Terms, "foo");
  EXPECT_EQ(history.SelectorEntries(),
            (std::vector<std::string>{"Procedures(", "All Procedure-Calls...(",
                                      "All Procedure-Calls...(", "foo"}));
}

TEST(ListHistory, TheObserverHearsOfEachOpenedListOnceItIsCurrent) {
  ListHistory history;
  std::vector<std::string> opened;
  history.SetListOpened([&](ResultList& list) {
    EXPECT_EQ(history.Current(), &list);
    opened.push_back(list.Caption());
  });
  history.OpenResultList(ListKind::Procedures, "Procedures");
  history.OpenResultList(ListKind::ProcedureCalls, "Foo");
  history.CloseCurrentResultList();
  EXPECT_EQ(opened, (std::vector<std::string>{"Procedures...", "Proc: Foo..."}));
}
