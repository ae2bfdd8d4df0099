#include "listings/folded_search.h"

#include <gtest/gtest.h>

#include <string>

constexpr size_t kNone = std::string_view::npos;

TEST(FoldedSearch, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(FindFolded("xFOO", "foo"), 1u);
  EXPECT_EQ(FindFolded("x[oo", "{oo"), kNone);  // "[" and "{" differ by 32 but are not letters
  EXPECT_EQ(FindFolded("x\xC4oo", "\xE4oo"), kNone);  // nor are Latin-1 letters
  EXPECT_EQ(FindFolded("1a2", "1A2"), 0u);
}

TEST(FoldedSearch, FoldsBothEndsOfTheLetterRangesAndNothingJustOutside) {
  struct Case {
    const char* Haystack;
    const char* Needle;
    size_t Found;
  };
  const Case cases[] = {
      // A, Z, a and z as the needle's first byte (looked for in both cases) and later on.
      {"xAZ", "az", 1}, {"xaz", "AZ", 1}, {"xZA", "za", 1}, {"xza", "ZA", 1},
      {"maxSIZE", "maxsize", 0}, {"MAXsize", "maxSIZE", 0},
      // "@" and "`", "[" and "{" lie 32 apart just outside the letters: never folded.
      {"x@", "`", kNone}, {"x`", "@", kNone}, {"x[", "{", kNone}, {"x{", "[", kNone},
      {"a@", "a`", kNone}, {"a`", "a@", kNone}, {"a[", "a{", kNone}, {"a{", "a[", kNone}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Haystack) + " / " + c.Needle);
    EXPECT_EQ(FindFolded(c.Haystack, c.Needle), c.Found);
  }
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
