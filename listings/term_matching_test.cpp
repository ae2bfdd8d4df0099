#include "listings/term_matching.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TermCase {
  const char* line;
  int result;
  const char* marker;
};

void ExpectMatches(const char* term, std::initializer_list<TermCase> cases) {
  for (const TermCase& c : cases) {
    SCOPED_TRACE(std::string("term [") + term + "] line [" + c.line + "]");
    const TermMatch match = MatchTerm(c.line, term);
    EXPECT_EQ(match.Result, c.result);
    EXPECT_EQ(match.UseMarker, std::string_view(c.marker));
  }
}

}  // namespace

TEST(TermMatching, WholeWordInExactCaseGivesThreeAndOtherCaseMinusThree) {
  ExpectMatches("foo", {{"foo", 3, ""},
                        {"FOO", -3, ""},
                        {"x = foo + 1", 3, ""},
                        {"x = Foo + 1", -3, ""}});
  ExpectMatches("Foo", {{"x = FOO", -3, ""}, {"x = Foo", 3, ""}});
  // The ends of the letter ranges fold too.
  ExpectMatches("maxsize", {{"maxSIZE = 1", -3, ""}, {"x = Zmaxsize", 0, ""}});
  ExpectMatches("Zap", {{"x = zAP", -3, ""}, {"x = ZAP", -3, ""}, {"x = Zap", 3, ""}});
}

TEST(TermMatching, PartOfALongerWordIsNoMatch) {
  ExpectMatches("foo", {{"x = foobar + 1", 0, ""},
                        {"x = barfoo", 0, ""},
                        {"foo$ = 1", 0, ""},
                        {"#foo = 1", 0, ""},
                        {"x.foo", 0, ""},
                        {")foo", 0, ""},
                        {"foo@", 0, ""},
                        {"foo]", 0, ""},
                        {"'foo'", 0, ""},
                        {"~foo", 0, ""}});
  ExpectMatches("foo$", {{"foo$ = 1", 3, ""}});
}

TEST(TermMatching, PointAndClosingParenthesisMayOnlyFollow) {
  ExpectMatches("foo", {{"foo.i = 0", 3, ""},
                        {"(foo)", 3, ""},
                        {"a\tfoo\t", 3, ""},
                        {"a,foo,b", 3, ""}});
}

TEST(TermMatching, EverySeparatorCharacterBoundsTheTerm) {
  // Before the term: backslash * @ blank : = + - / , < > ! % & | ( and tab.
  ExpectMatches("foo", {{"p\\foo", 3, "\\_"}, {"*foo", 3, "*"}, {"@foo", 3, "@"}, {" foo", 3, ""},
                        {":foo", 3, ""},      {"=foo", 3, ""},  {"+foo", 3, ""}, {"-foo", 3, ""},
                        {"/foo", 3, ""},      {",foo", 3, ""},  {"<foo", 3, ""}, {">foo", 3, ""},
                        {"!foo", 3, ""},      {"%foo", 3, ""},  {"&foo", 3, ""}, {"|foo", 3, ""},
                        {"(foo", 3, ""},      {"\tfoo", 3, ""}});
  // After it: backslash ( blank : = + - * / , . < > ! % & | ) and tab.
  ExpectMatches("foo", {{"foo\\x", 3, "_\\"}, {"foo(1)", 3, "_()"}, {"foo ", 3, ""}, {"foo:", 3, ""},
                        {"foo=", 3, ""},     {"foo+", 3, ""},     {"foo-", 3, ""}, {"foo*", 3, ""},
                        {"foo/", 3, ""},     {"foo,", 3, ""},     {"foo.", 3, ""}, {"foo<", 3, ""},
                        {"foo>", 3, ""},     {"foo!", 3, ""},     {"foo%", 3, ""}, {"foo&", 3, ""},
                        {"foo|", 3, ""},     {"foo)", 3, ""},     {"foo\t", 3, ""}});
}

TEST(TermMatching, MarkersTellHowTheTermIsUsed) {
  ExpectMatches("foo", {{"*foo = 0", 3, "*"},
                        {"x = @foo", 3, "@"},
                        {"p\\foo = 1", 3, "\\_"},
                        {"foo\\x = 1", 3, "_\\"},
                        {"foo(1)", 3, "_()"},
                        {"x = FOO(1)", -3, "_()"}});
}

TEST(TermMatching, TrailingMarkerReplacesLeadingOne) {
  ExpectMatches("foo", {{"*foo\\x = 0", 3, "_\\"}, {"@foo(1)", 3, "_()"}, {"\\foo(1)", 3, "_()"}});
}

TEST(TermMatching, MarkerOfARejectedOccurrenceDoesNotStay) {
  ExpectMatches("foo", {{"p\\foo1 = foo", 3, ""}, {"*foox + foo", 3, ""}, {"*foox", 0, ""}});
}

TEST(TermMatching, CommentIsNotSearched) {
  ExpectMatches("foo", {{"x = 1 ; foo", 0, ""}, {"; foo", 0, ""}, {"foo ; x", 3, ""}});
}

TEST(TermMatching, StringLiteralsAreBlankedWhenTheQuotesPair) {
  ExpectMatches("foo", {
                           {"x = \"foo\"", 0, ""},
                           {"x = \"x;y\" : foo()", 3, "_()"},
                           {"x = \"foo", 0, ""},  // odd count: nothing blanked
                           {"x = \"a\" + foo + \";\"", 3, ""},
                           {"x = \"a\" + \"foo\" + foo", 3, ""},
                           {"x = \"a;b\" + \"foo\" ; foo", 0, ""},
                           {"x = \"a\" + \"b\" + foo \"", 3, ""},  // odd: foo stays
                           {"foo\"\"", 0, ""},                      // quote follows
                       });
}

TEST(TermMatching, ExactCaseIsLookedForFromTheStartOfTheCurrentSearch) {
  ExpectMatches("foo", {
                           {"Foo = foo2", 3, ""},   // exact case inside foo2
                           {"xfoo + FOO", -3, ""},  // exact case only before the search
                           {"FOO + xfoo", 3, ""},
                       });
}

TEST(TermMatching, OverlappingOccurrencesAreFound) {
  ExpectMatches("aa", {{"aaa", 0, ""}, {"b aa", 3, ""}, {"aaa aa", 3, ""}, {"xaa", 0, ""}});
  ExpectMatches("aba", {{"ababa", 0, ""}, {"xabab aba", 3, ""}});
}

TEST(TermMatching, EmptyTermOrEmptyLineFindsNothing) {
  ExpectMatches("", {{"", 0, ""}, {"foo", 0, ""}, {" ", 0, ""}});
  ExpectMatches("foo", {{"", 0, ""}, {";foo", 0, ""}});
}

TEST(TermMatching, LineOfOnlySeparatorsFindsNothing) {
  ExpectMatches("foo", {{"\\*@ :=+-/,<>!%&|(\t).", 0, ""}});
  ExpectMatches("(", {{"(", 3, ""}, {"((", 3, "_()"}});
}

TEST(TermMatchingOnLongLines, ManyRejectedOccurrencesStayFast) {
  std::string line;
  for (int i = 0; i < 200000; ++i) line += "xfoo \"foo\" ";
  line += "FOO";
  EXPECT_EQ(MatchTerm(line, "foo").Result, -3);  // even quotes: every quoted foo blanked
  line += "\"";
  EXPECT_EQ(MatchTerm(line, "foo").Result, 0);  // odd: quotes stand next to every foo
}
