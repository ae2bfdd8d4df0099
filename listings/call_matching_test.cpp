#include "listings/call_matching.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct KeyCase {
  const char* text;
  const char* key;
};

struct CallCase {
  const char* line;
  int result;
};

struct LineCase {
  const char* line;
  const char* prepared;
};

void ExpectCalls(const char* key, std::initializer_list<CallCase> cases) {
  for (const CallCase& c : cases) {
    SCOPED_TRACE(std::string("line: ") + c.line);
    EXPECT_EQ(FindCall(c.line, key), c.result);
  }
}

void ExpectPrepared(const char* key, std::initializer_list<LineCase> cases) {
  for (const LineCase& c : cases) {
    SCOPED_TRACE(std::string("line: ") + c.line);
    EXPECT_EQ(NormalizeCallLine(c.line, key), c.prepared);
  }
}

// Step 4 of NormalizeCallLine word for word, to check the fast version against.
std::string CloseUpLiterally(std::string line, const std::string& name_word) {
  size_t p = line.find(name_word);
  while (p != std::string::npos) {
    if (line.find(" (", p) == std::string::npos) break;
    std::string rest;
    for (size_t i = p; i < line.size(); ++i) {
      if (line[i] == ' ' && i + 1 < line.size() && line[i + 1] == '(') continue;
      rest += line[i];
    }
    line = line.substr(0, p) + rest;
    p = line.find(name_word, p);
  }
  return line;
}

}  // namespace

TEST(CallKey, FromHeadTakesTheNameAfterTheFirstBlank) {
  for (const KeyCase& c : std::initializer_list<KeyCase>{
           {"Procedure.s Foo (a.s, b)", "Foo("},
           {"Procedure Bar()", "Bar("},
           {"Procedure.i  Baz(x)", "Baz("},
           {"Procedure Fo o (x)", "Foo("},
           {"Procedure Qux", "Qux("},
           {"Procedure.i", "Procedure.i("},
           {"NoBlank(x)", "NoBlank("},
           {"Procedure ", "("},
           {"", "("},
       }) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CallKeyFromHead(c.text), c.key);
  }
}

TEST(CallKey, FromNameGivesTheSameKeyForEveryFormOfTheName) {
  for (const KeyCase& c : std::initializer_list<KeyCase>{
           {"Foo", "Foo("},
           {"Foo(", "Foo("},
           {"Foo(a, b)", "Foo("},
           {"Foo (a, b)", "Foo("},
           {"  Foo", "Foo("},
           {"(", "("},
           {"", "("},
       }) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CallKeyFromName(c.text), c.key);
  }
}

TEST(FindCall, KeyAtTheStartOfTheLineIsACall) {
  ExpectCalls("Foo(", {{"Foo(1)", 1}, {"foo(1)", -1}, {"FOO()", -1}, {"Foo(", 1}});
}

TEST(FindCall, LettersAtTheEndsOfTheRangesAreFoldedAndTheirNeighboursAreNot) {
  ExpectCalls("maxsize(", {{"x = maxSIZE(1)", -1}, {"x = MAXSIZE(1)", -1}, {"maxsize(1)", 1}});
  ExpectCalls("Zone_a(", {{"zONE_A(1)", -1}, {"Zone_a(1)", 1}});
  ExpectCalls("a@(", {{"a`(1)", 0}});
  ExpectCalls("a[(", {{"a{(1)", 0}});
}

TEST(FindCall, EverySeparatorBeforeTheKeyMakesACall) {
  // Blank : = + - * / , < > ! % & | ( @ and tab.
  ExpectCalls("Foo(", {{"a Foo(1)", 1},
                       {"a-Foo(1)", 1},
                       {"a*Foo(1)", 1},
                       {"a/Foo(1)", 1},
                       {"a>Foo(1)", 1},
                       {"a&Foo(1)", 1},
                       {"a+Foo(1)", 1},
                       {"a=Foo(1)", 1},
                       {"x+@Foo()", 1},
                       {"(Foo(2))", 1},
                       {"\tFoo(1)", 1},
                       {"x\tFoo(1)", 1},
                       {"a :Foo(1)", 1},
                       {"a!Foo(1)", 1},
                       {"a%Foo(1)", 1},
                       {"a|Foo(1)", 1},
                       {"a<Foo(1)", 1},
                       {"a,Foo(1)", 1}});
}

TEST(FindCall, OtherCharactersBeforeTheKeyAreNoCall) {
  ExpectCalls("Foo(", {{"y.Foo(1)", 0},
                       {"\\Foo(", 0},
                       {"MyFoo(1)", 0},
                       {"x.Foo(1)", 0},
                       {"a)Foo(1)", 0},
                       {"a[Foo(1)", 0},
                       {"#Foo(1)", 0},
                       {"$Foo(1)", 0},
                       {"_Foo(1)", 0},
                       {"1Foo(1)", 0},
                       {"FooBar(1)", 0},
                       {"Foo (1)", 0},
                       {"Foo", 0},
                       {"", 0}});
}

TEST(FindCall, RejectedOccurrenceIsFollowedByTheNextOne) {
  ExpectCalls("Foo(", {{"MyFoo(1) : Foo(2)", 1}, {"x.Foo(1) + y.Foo(2) + Foo(3)", 1}});
}

TEST(FindCall, SignLooksForExactCaseFromTheStartOfTheCurrentSearch) {
  ExpectCalls("Foo(", {
                          {"foo(1)", -1},
                          {"foo(1) + Foo(2)", 1},      // accepted occurrence is lower case
                          {"xFoo(1) : foo(2)", -1},    // exact case only before the search
                          {"MYFOO(1) : foo(2)", -1},
                          {"MYFOO(1) : foo(2) : xFoo(3)", 1},
                          {"xfoo(1) : Foo(2)", 1},
                      });
}

TEST(FindCall, StringLiteralsAreNotExcluded) {
  ExpectCalls("Foo(", {{"x = \"Foo(1)\"", 0}, {"x = \" Foo(1)\"", 1}});
}

TEST(FindCall, EmptyKeyFindsNothing) {
  ExpectCalls("", {{"", 0}, {"Foo(1)", 0}, {" ", 0}});
}

TEST(FindCall, KeyOfOnlyAnOpeningParenthesis) {
  ExpectCalls("(", {{"(", 1}, {"a(", 0}, {"a((", 1}, {"a (", 1}, {"abc", 0}, {"", 0}});
}

TEST(FindCall, LineOfOnlySeparatorsHoldsNoCall) {
  ExpectCalls("Foo(", {{" :=+-*/,<>!%&|(@\t", 0}});
}

TEST(NormalizeCallLine, IndentationIsRemovedTabsFirstThenBlanks) {
  ExpectPrepared("Foo(", {{"\t\tFoo(1)", "Foo(1)"},
                          {"\t  Foo(1)", "Foo(1)"},
                          {"\t \tFoo(1)", "\tFoo(1)"},
                          {"  Foo(1)", "Foo(1)"},
                          {"\t \t ", "\t "},
                          {"", ""}});
}

TEST(NormalizeCallLine, CommentIsCutAtTheFirstSemicolonOutsideParenthesesAndStrings) {
  ExpectPrepared("Foo(", {
                             {"Foo (1) ; Foo (2)", "Foo(1) "},
                             {"x = \";\" + Foo (1)", "x = \";\" + Foo(1)"},
                             {"Foo (\";\") ; note", "Foo(\";\") "},
                             {"Foo(a ; b) ; c", "Foo(a ; b) "},
                             {"; Foo(1)", ""},
                             {"\t; Foo(1)", ""},
                             {"x) ; Foo(1)", "x) ; Foo(1)"},         // depth -1
                             {"x = \"abc ; Foo (1)", "x = \"abc ; Foo(1)"},  // open string
                             {"a ; b ; c", "a "},
                         });
}

TEST(NormalizeCallLine, BlanksBeforeParenthesesAreClosedUpFromTheNameOn) {
  ExpectPrepared("Foo(", {
                             {"Foo (1)", "Foo(1)"},
                             {"Foo     (1)", "Foo(1)"},
                             {"x = Foo (Bar (2))", "x = Foo(Bar(2))"},
                             {"Bar (1) + Foo (2)", "Bar (1) + Foo(2)"},
                             {"Foo (1) + Foo  (2)", "Foo(1) + Foo(2)"},
                             {"Foo x (1)", "Foo x(1)"},
                             {"Foo x   (1)", "Foo x(1)"},
                             {"Foo (1) + Bar   (2)", "Foo(1) + Bar  (2)"},
                             {"foo (1)", "foo (1)"},  // name word is searched in exact case
                             {"MyFoo (1)", "MyFoo(1)"},
                         });
  EXPECT_EQ(FindCall(NormalizeCallLine("foo (1)", "Foo("), "Foo("), 0);
}

TEST(NormalizeCallLine, KeyOfOnlyAParenthesisOrEmptyTerminates) {
  ExpectPrepared("(", {{"a  (  (b)", "a((b)"}, {"a b", "a b"}, {"  (", "("}, {" ", ""}});
  ExpectPrepared("", {{"a (b)", "a(b)"}, {"", ""}});
}

TEST(NormalizeCallLine, KeyWithBlanksIsClosedUpPassByPass) {
  ExpectPrepared("F o(", {{"F o   (1)", "F o(1)"}, {"F o x  (1) y (2)", "F o x(1) y(2)"}});
}

TEST(NormalizeCallLine, ClosingUpMatchesTheLiteralPassesOnRandomLines) {
  std::mt19937 random(12345);
  const std::string alphabet = "Fo (x";
  for (const std::string key : {"Fo(", "(", "o(", "F(", "Fox("}) {
    const std::string name_word = key.substr(0, key.size() - 1) + " ";
    for (int round = 0; round < 20000; ++round) {
      std::string line = "x";
      const int length = static_cast<int>(random() % 24);
      for (int i = 0; i < length; ++i) line += alphabet[random() % alphabet.size()];
      SCOPED_TRACE("key " + key + " line [" + line + "]");
      ASSERT_EQ(NormalizeCallLine(line, key), CloseUpLiterally(line, name_word));
    }
  }
}

// The test looks at sixteen places at once: a pair is found wherever it stands against
// those blocks, and a blank and a "(" apart, or the other way round, are no pair.
TEST(HasBlankBeforeParenthesis, FindsAPairAtEveryPlaceOfLinesOfEveryLength) {
  for (size_t length = 0; length <= 40; ++length) {
    EXPECT_FALSE(HasBlankBeforeParenthesis(std::string(length, ' '))) << length;
    EXPECT_FALSE(HasBlankBeforeParenthesis(std::string(length, '('))) << length;
    for (size_t at = 0; at + 2 <= length; ++at) {
      std::string line(length, 'x');
      line.replace(at, 2, " (");
      EXPECT_TRUE(HasBlankBeforeParenthesis(line)) << length << " " << at;
      line.replace(at, 2, "( ");
      EXPECT_FALSE(HasBlankBeforeParenthesis(line)) << length << " " << at;
    }
    for (size_t at = 0; at < length; ++at) {
      std::string line(length, 'x');
      line[at] = ' ';
      EXPECT_EQ(HasBlankBeforeParenthesis(line + '('), at + 1 == length) << length << " " << at;
    }
  }
}

TEST(CallMatchingOnLongLines, ManyRejectedOccurrencesStayFast) {
  std::string line;
  for (int i = 0; i < 200000; ++i) line += "xFoo(";
  line += " Foo(";
  EXPECT_EQ(FindCall(line, "Foo("), 1);
  EXPECT_EQ(FindCall(line, "foo("), -1);
  EXPECT_EQ(NormalizeCallLine(line, "Foo("), line);
}

TEST(CallMatchingOnLongLines, LongRunOfBlanksBeforeTheParenthesisIsClosedUpQuickly) {
  const std::string line = "x = Foo " + std::string(1000000, ' ') + "(1)";
  EXPECT_EQ(NormalizeCallLine(line, "Foo("), "x = Foo(1)");
  EXPECT_EQ(NormalizeCallLine(line, "("), "x = Foo(1)");
}
