#include "listings/call_candidates.h"

#include <gtest/gtest.h>

#include <vector>

#include "listings/listing_test_support.h"

TEST(CallCandidates, OnlySuffixesOfProcedureCanUnmakeAHead) {
  for (const char* key : {"(", "e(", "dure(", "Procedure("}) {
    EXPECT_TRUE(CloseUpCanUnmakeHead(key)) << key;
  }
  for (const char* key : {"Foo(", "E(", "ProcedureX(", "xProcedure(", "Proc("}) {
    EXPECT_FALSE(CloseUpCanUnmakeHead(key)) << key;
  }
}

TEST(CallCandidates, IdentifierNamesAreLettersDigitsAndUnderscores) {
  EXPECT_TRUE(IsIdentifierName("Foo_1"));
  EXPECT_FALSE(IsIdentifierName(""));
  EXPECT_FALSE(IsIdentifierName("Str$"));
  EXPECT_FALSE(IsIdentifierName("*p"));
  EXPECT_EQ(CallKeyName("Foo("), "Foo");
  EXPECT_EQ(CallKeyName(""), "");
}

TEST(CallCandidates, LinesHoldTheNameAsAWordBeforeBlanksAndAParenthesis) {
  TestFolder folder;
  folder.Write("main.pb",
               "Procedure Foo()\n"          // 0: a head is never searched
               "x = foo  (1)\n"             // 1: other case, blanks before "("
               "FooBar(1) + MyFoo(2)\n"     // 2: longer names
               "y = Foo\n"                  // 3: no "(" after the name
               "s = 1 ; Foo(1)\n"           // 4: in the comment
               "a(Foo(1), Foo(2))\n"        // 5: listed once
               "q = \"; Foo(\"\n"           // 6: the quoted ";" does not cut
               "EndProcedure : Foo(1)\n");  // 7: an end line is searched
  RecordingHost host;
  ProjectText text;
  ASSERT_TRUE(text.Load({{folder.Path() + "main.pb", "", 0}}, host));
  const ProcedureIndex procedures{{"Procedure Foo()", "main.pb", 1},
                                  {"Procedure Str$()", "main.pb", 9}};
  const CallCandidates candidates(text, procedures);
  EXPECT_EQ(candidates.LinesFor("Foo"), (std::vector<size_t>{1, 5, 6, 7}));
  EXPECT_EQ(candidates.LinesFor("FOO"), candidates.LinesFor("Foo"));
  EXPECT_TRUE(candidates.LinesFor("FooBar").empty());  // not a procedure of the index
  EXPECT_TRUE(candidates.LinesFor("Str$").empty());
}
