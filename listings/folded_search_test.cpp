#include "listings/folded_search.h"

#include <gtest/gtest.h>

constexpr size_t kNone = std::string_view::npos;

TEST(FoldedSearch, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(FindFolded("xFOO", "foo"), 1u);
  EXPECT_EQ(FindFolded("x[oo", "{oo"), kNone);  // "[" and "{" differ by 32 but are not letters
  EXPECT_EQ(FindFolded("x\xC4oo", "\xE4oo"), kNone);  // nor are Latin-1 letters
  EXPECT_EQ(FindFolded("1a2", "1A2"), 0u);
}

TEST(FoldedSearch, EmptyNeedleOrShortHaystackFindsNothing) {
  EXPECT_EQ(FindFolded("abc", ""), kNone);
  EXPECT_EQ(FindFolded("", ""), kNone);
  EXPECT_EQ(FindFolded("ab", "abc"), kNone);
  EXPECT_EQ(FindFolded("abc", "c", 3), kNone);
}

TEST(FoldedSearch, SuccessiveSearchesFindEveryOccurrenceOfBothCases) {
  FoldedFinder finder("aAaxA", "aa");
  EXPECT_EQ(finder.Next(0), 0u);
  EXPECT_EQ(finder.Next(1), 1u);
  EXPECT_EQ(finder.Next(2), kNone);
}
