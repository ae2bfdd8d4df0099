#include "listings/lookup.h"

#include <gtest/gtest.h>

#include "listings/testing/listing_test_support.h"

TEST(Lookup, ProcedureFoundListsItsCallsOnly) {
  TestProject test;
  test.Write("main.pb", "Procedure Foo()\nEndProcedure\nFoo()\n");
  test.TakeUp();
  EXPECT_EQ(OpenLookUp(test.project, test.history, test.host, "Foo"), 2);
  EXPECT_EQ(test.history.Current()->Kind(), ListKind::ProcedureCalls);
  EXPECT_EQ(test.history.Count(), 2);
}

TEST(Lookup, NoCallsFallsBackToTheTermSearchInTheSameList) {
  TestProject test;
  test.Write("main.pb", "Procedure Foo()\nEndProcedure\nx = Foo\n");
  test.TakeUp();
  EXPECT_EQ(OpenLookUp(test.project, test.history, test.host, "Foo(("), 0);
  ASSERT_EQ(test.history.Count(), 2);
  const ResultList& list = *test.history.Current();
  EXPECT_EQ(list.Kind(), ListKind::Terms);
  EXPECT_EQ(list.Subject(), "Foo((");
  EXPECT_EQ(list.Caption(), "Terms: Foo...");
  EXPECT_EQ(TestProject::Column(list, ColumnLine), (std::vector<std::string>{"", "1", "3"}));
}

TEST(Lookup, StoppedProcedureLookupIsFollowedByTheTermSearchAfterItsRows) {
  TestProject test;
  test.Write("main.pb", "Foo()\nFoo()\nProcedure Foo()\nEndProcedure\n");
  test.TakeUp();
  // Stop once the lookup has listed its separator and first call.
  test.host.StopWhen = [&test] { return test.history.Current()->RowCount() == 2; };
  EXPECT_EQ(OpenLookUp(test.project, test.history, test.host, "Foo"), 0);
  const ResultList& list = *test.history.Current();
  EXPECT_EQ(list.Kind(), ListKind::Terms);
  // The lookup's separator and first call, then the term search's own rows.
  EXPECT_EQ(TestProject::Column(list, ColumnLine),
            (std::vector<std::string>{"", "1", "", "1", "2", "3"}));
  // The lookup's rows keep the shading of a calls list.
  EXPECT_EQ(list.Row(1).WrittenFor, ListKind::ProcedureCalls);
  EXPECT_EQ(list.Row(3).WrittenFor, ListKind::Terms);
}

TEST(Lookup, OnlyParenthesesSearchAnEmptyTermAndEmptyTextDoesNothing) {
  TestProject test;
  test.Write("main.pb", "x = 1\n");
  test.TakeUp();
  EXPECT_EQ(OpenLookUp(test.project, test.history, test.host, ""), 0);
  EXPECT_EQ(test.history.Count(), 1);
  OpenLookUp(test.project, test.history, test.host, "((");
  EXPECT_EQ(test.history.Count(), 2);
  EXPECT_EQ(test.history.Current()->Caption(), "Terms: ...");
}

TEST(Lookup, TrailingParenthesesAreRemovedOnlyAtTheEnd) {
  EXPECT_EQ(WithoutTrailingParentheses("Foo((("), "Foo");
  EXPECT_EQ(WithoutTrailingParentheses("(Foo"), "(Foo");
  EXPECT_EQ(WithoutTrailingParentheses("(("), "");
}
