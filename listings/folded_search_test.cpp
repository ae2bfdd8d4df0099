#include "listings/folded_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
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

// Haystacks long and short, so that places fall in the sixteen-byte steps, between them
// and in the tail; each search and each gate answers as a byte-by-byte search does.
TEST(FoldedSearch, FindsAndGatesAsAPlainSearchOnRandomTexts) {
  std::mt19937 random(5);
  // Both ends of both letter ranges, the bytes just outside them, blanks and line ends.
  const std::string alphabet = "aAbBzZyY@`[{ \n";
  const auto plain_find = [](std::string_view haystack, std::string_view needle, size_t from) {
    for (size_t at = from; at + needle.size() <= haystack.size() && !needle.empty(); ++at) {
      bool same = true;
      for (size_t i = 0; i < needle.size() && same; ++i) {
        same = FoldAsciiLetter(haystack[at + i]) == FoldAsciiLetter(needle[i]);
      }
      if (same) return at;
    }
    return kNone;
  };
  for (int round = 0; round < 2000; ++round) {
    std::string haystack(random() % 70, ' ');
    for (char& c : haystack) c = alphabet[random() % alphabet.size()];
    std::string needle(1 + random() % 3, ' ');
    for (char& c : needle) c = alphabet[random() % (alphabet.size() - 1)];  // no line end
    if (random() % 4 == 0 && !haystack.empty()) {
      // A longer needle, around the compare's sixteen-byte steps: a piece of the haystack
      // in other letter case, so that it is found, or not for a letter changed.
      const size_t start = random() % haystack.size();
      needle = haystack.substr(start, 1 + random() % 36);
      for (char& c : needle) c = c == '\n' ? ' ' : random() % 2 ? static_cast<char>(std::toupper(c)) : c;
      if (random() % 3 == 0) needle[random() % needle.size()] ^= 0x01;
      ASSERT_EQ(SameFoldedBytes(haystack.data() + start, needle.data(), needle.size()),
                plain_find(haystack.substr(start, needle.size()), needle, 0) == 0);
    }
    const FoldedFinder finder(haystack, needle);
    for (size_t from = 0; from <= haystack.size(); ++from) {
      ASSERT_EQ(finder.Next(from), plain_find(haystack, needle, from))
          << "\"" << haystack << "\" \"" << needle << "\" from " << from;
    }
    auto gate = FoldedGate(haystack, needle);
    for (size_t start = 0, end = 0; start <= haystack.size(); start = end + 1) {
      end = std::min(haystack.find('\n', start), haystack.size());
      const std::string_view line(haystack.data() + start, end - start);
      if (random() % 3 == 0) continue;  // a gate may skip lines
      ASSERT_EQ(gate.In(line), plain_find(line, needle, 0) != kNone) << "\"" << haystack << "\"";
    }
  }
}

// The exact finder is `std::string_view::find` on haystacks of every length around the
// sixteen-byte steps, with needles of one, two and more bytes in both letter cases.
TEST(FoldedSearch, TheExactFinderFindsWhatStringFindFinds) {
  std::mt19937 random(7);
  const std::string alphabet = "aAbB( ";
  for (int round = 0; round < 3000; ++round) {
    std::string haystack(random() % 40, ' ');
    for (char& c : haystack) c = alphabet[random() % alphabet.size()];
    std::string needle(1 + random() % 3, ' ');
    for (char& c : needle) c = alphabet[random() % alphabet.size()];
    const FoldedFinder exact = FoldedFinder::Exact(haystack, needle);
    for (size_t from = 0; from <= haystack.size(); ++from) {
      ASSERT_EQ(exact.Next(from), std::string_view(haystack).find(needle, from))
          << "\"" << haystack << "\" \"" << needle << "\" from " << from;
    }
  }
}
