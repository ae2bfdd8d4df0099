#include "listings/procedure_bounds.h"

#include <gtest/gtest.h>

#include <string>

#include "listings/testing/listing_test_support.h"

TEST(ProcedureBounds, FlagAndLabelHeadAreThoseOfASequentialPass) {
  TestFolder folder;
  folder.Write("main.pb", "x\nProcedure A()\ny\nEndProcedure\nz\nProcedure B()\n");
  folder.Write("b.pb", "w\nProcedure C()\nv\n");
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load({{folder.Path() + "main.pb", "", 0}, {folder.Path() + "b.pb", "", 0}},
                      SourceTexts(), host),
            ListingEnd::Finished);
  const ProcedureBounds bounds(text);
  EXPECT_FALSE(bounds.InsideAt(0));  // before the first head
  EXPECT_TRUE(bounds.InsideAt(2));
  EXPECT_FALSE(bounds.InsideAt(3));  // an end line clears the flag for itself
  EXPECT_FALSE(bounds.InsideAt(4));
  EXPECT_TRUE(bounds.InsideAt(6));   // main.pb ends inside B: the flag carries over
  EXPECT_EQ(bounds.HeadBefore(2, 0), 1u);
  EXPECT_EQ(bounds.HeadBefore(4, 0), 1u);  // the label outlives the end, unshown
  EXPECT_EQ(bounds.HeadBefore(6, 6), std::string::npos);  // emptied at the file start
  EXPECT_EQ(bounds.HeadBefore(8, 6), 7u);
}

// Only a head of "Procedure", blanks and "(" can be unmade by a key's close-up; heads with
// a name, a type suffix or nothing after the blank cannot.
TEST(ProcedureBounds, UnnamedHeadsAreOnlyProcedureBlanksAndAParenthesis) {
  TestFolder folder;
  RecordingHost host;
  const auto has_unnamed = [&](const std::string& lines) {
    folder.Write("main.pb", lines);
    ProjectText text;
    EXPECT_EQ(text.Load({{folder.Path() + "main.pb", "", 0}}, SourceTexts(), host), ListingEnd::Finished);
    return ProcedureBounds(text).HasUnnamedHead();
  };
  EXPECT_FALSE(has_unnamed("Procedure A()\nProcedure.i (x)\nProcedure \nx = Procedure (1)\n"));
  EXPECT_TRUE(has_unnamed("Procedure A()\n  Procedure (x)\n"));
  EXPECT_TRUE(has_unnamed("\tProcedure   (x) ; comment\n"));
}
