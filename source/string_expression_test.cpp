#include "source/string_expression.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The terms as one text: constants as written, literals in brackets, "|" between them.
std::string Shown(const std::optional<ExpressionTerms>& terms) {
  if (!terms) return "(none)";
  std::string text;
  for (const ExpressionTerm& term : *terms) {
    if (!text.empty()) text += "|";
    text += term.IsConstant ? term.Text : "[" + term.Text + "]";
  }
  return text;
}

}  // namespace

TEST(StringExpression, IncludeValueIsAnExpressionOnlyWithAPlusOrAConstant) {
  const struct {
    const char* rest;  // the text after the keyword
    const char* terms;
  } cases[] = {
      {" \"..\" + #Separator + \"Common.pb\"", "[..]|#Separator|[Common.pb]"},
      {" #DEFAULT_DebuggerSource + \"Misc.pb\"   ; in another file", "#DEFAULT_DebuggerSource|[Misc.pb]"},
      {"\t#PB_Compiler_FilePath+\"K.pbi\"\t", "#PB_Compiler_FilePath|[K.pbi]"},
      {" #Dir$", "#Dir$"},
      {" \"a;b\" + \"c.pb\" ; \"quoted ; in the comment\"", "[a;b]|[c.pb]"},
      {" \"\" + \"\"", "[]|[]"},
      {" \"plain.pb\"", "(none)"},            // one literal: today's rules
      {" \"a.pb\" : IncludeFile \"b.pb\"", "(none)"},
      {" \"a\" + ", "(none)"},
      {" + \"a\"", "(none)"},
      {" \"a\" \"b\"", "(none)"},
      {" #A$B + \"x\"", "(none)"},
      {" #1 + \"x\"", "(none)"},
      {" # + \"x\"", "(none)"},
      {" \"open + #X", "(none)"},
      {" #A - \"x\"", "(none)"},
      {" Str(1) + \"x\"", "(none)"},
      {"", "(none)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Shown(IncludeExpression(RawIncludeValue(c.rest))), c.terms) << c.rest;
  }
}

TEST(StringExpression, ConstantDefinitionLines) {
  const struct {
    const char* line;
    const char* name;  // empty: no definition
    const char* terms;
  } cases[] = {
      {"#DEFAULT_DebuggerSource = \"../Debugger/\"", "#DEFAULT_DebuggerSource", "[../Debugger/]"},
      {"\t  #Dir$=#Base$ + \"sub\" + #PS$ ; per platform", "#Dir$", "#Base$|[sub]|#PS$"},
      {"#X = #X", "#X", "#X"},
      {"#Count = 5", "", ""},
      {"#A = \"x\" : #B = \"y\"", "", ""},
      {"#A == \"x\"", "", ""},
      {"#A =", "", ""},
      {"x = #A", "", ""},
      {"; #A = \"x\"", "", ""},
  };
  for (const auto& c : cases) {
    const auto definition = ConstantDefinitionOf(c.line);
    if (*c.name == '\0') {
      EXPECT_FALSE(definition.has_value()) << c.line;
      continue;
    }
    ASSERT_TRUE(definition.has_value()) << c.line;
    EXPECT_EQ(definition->Name, c.name);
    EXPECT_EQ(Shown(definition->Value), c.terms);
  }
}
