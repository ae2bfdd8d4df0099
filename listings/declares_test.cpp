#include "listings/declares.h"

#include <gtest/gtest.h>

#include "listings/testing/listing_test_support.h"

TEST(Declares, TwoFilesGiveGroupsInFileOrderWithShortFirstHeader) {
  DeclareCandidates candidates{{"Procedure.i Foo(a)", "main.pb"},
                               {"Procedure Baz(x)", "inc.pb"},
                               {"Procedure Bar()", "main.pb"}};
  EXPECT_EQ(DeclaresText(candidates),
            ";inc.pb\r\n"
            "Declare Baz(x)\r\n"
            "; Declares from: main.pb\r\n"
            "Declare Bar()\r\n"
            "Declare.i Foo(a)\r\n");
  ASSERT_EQ(candidates.size(), 5u);  // rearranged in place, headers included
  EXPECT_EQ(candidates[2].HeadText, "; Declares from: main.pb");
}

TEST(Declares, SortingIsByteOrderOfFileNameThenWholeText) {
  DeclareCandidates candidates{{"Procedure.i b()", "b.pb"},
                               {"Procedure Z()", "b.pb"},
                               {"Procedure.i a()", "b.pb"},
                               {"Procedure Y()", "B.pb"}};
  EXPECT_EQ(DeclaresText(candidates),
            ";B.pb\r\n"
            "Declare Y()\r\n"
            "; Declares from: b.pb\r\n"
            "Declare Z()\r\n"
            "Declare.i a()\r\n"
            "Declare.i b()\r\n");
}

TEST(Declares, EveryProcedureIsReplacedAndTrailingBlanksStay) {
  DeclareCandidates candidates{{"ProcedureDLL MyProcedureX()  ", "Procedures.pb"}};
  EXPECT_EQ(DeclaresText(candidates), ";Declares.pb\r\nDeclareDLL MyDeclareX()  \r\n");
}

TEST(Declares, SameFileNameInTwoFoldersFormsOneGroup) {
  DeclareCandidates candidates{{"Procedure B()", "u.pb"}, {"Procedure A()", "u.pb"}};
  EXPECT_EQ(DeclaresText(candidates), ";u.pb\r\nDeclare A()\r\nDeclare B()\r\n");
}

// No candidate: no text at all (the window then leaves the clipboard alone); one: its
// file header and its Declare line.
TEST(Declares, TextIsEmptyOnlyWithoutCandidates) {
  DeclareCandidates none;
  EXPECT_EQ(DeclaresText(none), "");
  DeclareCandidates one{{"Procedure Foo()", "a.pb"}};
  EXPECT_EQ(DeclaresText(one), ";a.pb\r\nDeclare Foo()\r\n");
}
