#include "listings/call_candidates.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "listings/testing/listing_test_support.h"

TEST(CallCandidates, OnlySuffixesOfProcedureCanUnmakeAHead) {
  for (const char* key : {"(", "e(", "dure(", "Procedure("}) {
    EXPECT_TRUE(CloseUpCanUnmakeHead(key)) << key;
  }
  for (const char* key : {"Foo(", "E(", "ProcedureX(", "xProcedure(", "Proc("}) {
    EXPECT_FALSE(CloseUpCanUnmakeHead(key)) << key;
  }
}

TEST(CallCandidates, TheLastTokenIsTheTrailingWordOrTheLastOtherCharacter) {
  EXPECT_EQ(LastCallToken("Foo_1"), "Foo_1");
  EXPECT_EQ(LastCallToken("=0"), "0");
  EXPECT_EQ(LastCallToken("*p"), "p");
  EXPECT_EQ(LastCallToken("Str$"), "$");
  EXPECT_EQ(LastCallToken("+"), "+");
  EXPECT_EQ(LastCallToken(""), "");
  // Both ends of the letter ranges are word characters; the bytes beside them are not.
  EXPECT_EQ(LastCallToken("[AZaz09_"), "AZaz09_");
  EXPECT_EQ(LastCallToken("@Zz"), "Zz");
  for (const char* name : {"a@", "a[", "a`", "a{"}) {
    EXPECT_EQ(LastCallToken(name), std::string(1, name[1])) << name;
  }
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
               "EndProcedure : Foo(1)\n"    // 7: an end line is searched
               "a = Str$ (1)\n"             // 8: a name that is no identifier
               "b = Len$(1)\n"              // 9: only its last token matches
               "ProcedureX = 0\n"           // 10: a key "=0(" from such a line
               "c =0  (1)\n");              // 11: that key's last token
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load({{folder.Path() + "main.pb", "", 0}}, SourceTexts(), host), ListingEnd::Finished);
  const ProcedureIndex procedures{{"Procedure Foo()", "main.pb", 1},
                                  {"Procedure Str$()", "main.pb", 9},
                                  {"ProcedureX = 0", "main.pb", 11}};
  CallCandidates candidates(procedures);
  ASSERT_TRUE(candidates.Sweep(text, host));
  EXPECT_EQ(candidates.LinesFor("Foo"), (std::vector<size_t>{1, 5, 6, 7}));
  EXPECT_EQ(candidates.LinesFor("FOO"), candidates.LinesFor("Foo"));
  EXPECT_TRUE(candidates.LinesFor("FooBar").empty());  // not a procedure of the index
  EXPECT_EQ(candidates.LinesFor("Str$"), (std::vector<size_t>{8, 9}));
  EXPECT_EQ(candidates.LinesFor("=0"), (std::vector<size_t>{11}));
  EXPECT_TRUE(candidates.LinesFor("").empty());
}

// A name is hashed sixteen bytes at a time from its end, before a "(" as on its own: names
// of lengths around those steps are found at a line's start and after other text, in other
// letter case, and a longer word that ends in one of them is none of them.
TEST(CallCandidates, NamesOfAnyLengthAreFoundBeforeTheirParenthesis) {
  ProcedureIndex procedures;
  std::vector<std::string> names;
  for (const size_t length : {1, 15, 16, 17, 31, 32, 33, 40}) {
    std::string name = "n";
    while (name.size() < length) name += "aB_3x"[name.size() % 5];
    names.push_back(name);
    procedures.push_back({"Procedure " + name + "()", "main.pb", 1});
  }
  const CallCandidates candidates(procedures);
  std::vector<size_t> tokens;
  for (const std::string& name : names) {
    const size_t token = candidates.TokenOf(name);
    ASSERT_NE(token, std::string_view::npos) << name;
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string& line : {name + "(1)", "x = (" + upper + "  (2))", "a$ + " + name + "(3)"}) {
      candidates.CallTokens(line, tokens);
      EXPECT_EQ(tokens, std::vector<size_t>{token}) << line;
    }
    candidates.CallTokens("Longer" + name + "(4) + _" + name + "(5)", tokens);
    EXPECT_TRUE(tokens.empty()) << name;
    // A line that starts a page, after name characters: those are not part of its word.
    std::string pages(8192, 'x');
    const size_t start = 4096 - reinterpret_cast<uintptr_t>(pages.data()) % 4096;
    const std::string line = name + "(6)";
    pages.replace(start, line.size(), line);
    candidates.CallTokens(std::string_view(pages).substr(start, line.size()), tokens);
    EXPECT_EQ(tokens, std::vector<size_t>{token}) << name;
  }
}
