#include "source/include_constants.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

ConstantDefinitions Defining(std::initializer_list<std::string> lines) {
  ConstantDefinitions definitions;
  for (const std::string& line : lines) {
    auto definition = ConstantDefinitionOf(line);
    EXPECT_TRUE(definition.has_value()) << line;
    if (definition) definitions.Define(std::move(*definition));
  }
  return definitions;
}

// Every name that `expression` stands for in a statement of /p/main.pb.
Texts NamesOf(ExpressionNames& names, const std::string& expression) {
  const auto terms = ParseStringExpression(expression);
  EXPECT_TRUE(terms.has_value()) << expression;
  Texts found;
  names.ForEach(terms.value_or(ExpressionTerms{}), {"/home/", "/p/main.pb"},
                [&found](const std::string& name) {
                  found.push_back(name);
                  return false;
                });
  return found;
}

Texts NamesOf(const ConstantDefinitions& definitions, const std::string& expression) {
  ExpressionNames names(definitions);
  return NamesOf(names, expression);
}

}  // namespace

TEST(ExpressionNames, BuiltInsStandForTheIncludingFileAndTheSeparators) {
  const ConstantDefinitions user = Defining({"#PS$ = \"\\\\\"", "#PB_Compiler_File = \"x\""});
  EXPECT_EQ(NamesOf(user, "#PB_Compiler_FilePath + \"a\" + #PS + #PS$ + #NPS + #NPS$ + "
                          "#PB_Compiler_File + #PB_Compiler_Home"),
            (Texts{"/p/a//\\\\/p/main.pb/home/"}));
  EXPECT_TRUE(IsBuiltInConstant("#NPS$"));
  EXPECT_FALSE(IsBuiltInConstant("#pb_compiler_home"));
}

TEST(ExpressionNames, EachOccurrenceChoosesItsDefinitionFirstTermSlowest) {
  const ConstantDefinitions definitions =
      Defining({"#A = \"1\"", "#B = \"x\"", "#A = \"2\"", "#B = \"y\"", "#A = \"1\"",
                "#A$ = \"s\""});
  EXPECT_EQ(NamesOf(definitions, "#A + #B"), (Texts{"1x", "1y", "2x", "2y"}));
  EXPECT_EQ(NamesOf(definitions, "#A + \"-\" + #A"), (Texts{"1-1", "1-2", "2-1", "2-2"}));
  EXPECT_EQ(NamesOf(definitions, "#A$ + #A"), (Texts{"s1", "s2"}));
  EXPECT_EQ(NamesOf(definitions, "#a + \"x\""), Texts{});  // names are case-sensitive
  EXPECT_EQ(NamesOf(definitions, "#A + #Unknown"), Texts{});
}

TEST(ExpressionNames, DefinitionsUsingUnknownConstantsOrThemselvesYieldNothing) {
  const ConstantDefinitions definitions =
      Defining({"#Base = \"b/\"", "#C = #Base + \"1\"", "#C = #Unknown + \"2\"", "#C = #C + \"3\"",
                "#C = \"4\"", "#Self = #Self"});
  EXPECT_EQ(NamesOf(definitions, "#C"), (Texts{"b/1", "4"}));
  EXPECT_EQ(NamesOf(definitions, "#C + #Self"), Texts{});
}

TEST(ExpressionNames, ConstantsThatUseEachOtherDependOnWhereTheExpansionStarts) {
  // P reached through Q cannot use Q again, but P on its own can.
  const ConstantDefinitions definitions =
      Defining({"#P = #Q", "#P = \"p\"", "#Q = #P + \"!\"", "#Q = \"q\""});
  ExpressionNames names(definitions);
  EXPECT_EQ(NamesOf(names, "#P"), (Texts{"q", "p"}));
  EXPECT_EQ(NamesOf(names, "#Q"), (Texts{"p!", "q"}));
  EXPECT_EQ(NamesOf(names, "#P + \"+\" + #Q"), (Texts{"q+p!", "q+q", "p+p!", "p+q"}));
  EXPECT_EQ(names.LookedUp(), (std::set<std::string>{"#P", "#Q"}));
}

TEST(ExpressionNames, AtMost64NamesAreProducedHoweverManyCombinations) {
  ConstantDefinitions definitions = Defining({"#D = \"a\"", "#D = \"b\""});
  std::string expression = "#D";
  for (int i = 0; i < 40; ++i) expression += " + #D";  // 2^41 combinations
  const Texts names = NamesOf(definitions, expression);
  ASSERT_EQ(names.size(), MaxExpressionNames);
  EXPECT_EQ(names[0], std::string(41, 'a'));
  EXPECT_EQ(names[1], std::string(40, 'a') + "b");
  EXPECT_EQ(names[63], std::string(35, 'a') + "bbbbbb");
}

TEST(ExpressionNames, DoublingChainsAndWebsOfConstantsStayBounded) {
  // Each level doubles the length and the choices: the names are cut, never built whole.
  ConstantDefinitions chain = Defining({"#L0 = \"0123456789\"", "#L0 = \"x\""});
  for (int level = 1; level <= 60; ++level) {
    const std::string below = "#L" + std::to_string(level - 1);
    chain.Define(*ConstantDefinitionOf("#L" + std::to_string(level) + " = " + below + " + " + below));
  }
  const Texts names = NamesOf(chain, "#L60");
  ASSERT_EQ(names.size(), MaxExpressionNames);
  EXPECT_EQ(names[0].size(), MaxNameLength + 1);
  // Twenty constants each defined by every other one: expansions are cut by the budget.
  ConstantDefinitions web;
  for (int a = 0; a < 20; ++a) {
    for (int b = 0; b < 20; ++b) {
      web.Define(*ConstantDefinitionOf("#W" + std::to_string(a) + " = #W" + std::to_string(b)));
    }
  }
  EXPECT_EQ(NamesOf(web, "#W0"), Texts{});
}

TEST(ExpressionNames, ChainsDeeperThanTheNestingLimitYieldNothing) {
  ConstantDefinitions deep = Defining({"#N0 = \"end\""});
  for (int level = 1; level <= 100000; ++level) {
    deep.Define(*ConstantDefinitionOf("#N" + std::to_string(level) + " = #N" +
                                      std::to_string(level - 1)));
  }
  EXPECT_EQ(NamesOf(deep, "#N100"), (Texts{"end"}));
  EXPECT_EQ(NamesOf(deep, "#N100000"), Texts{});
}

TEST(ExpressionNames, HundredThousandTermExpressionIsCutAndStaysLinear) {
  const ConstantDefinitions definitions = Defining({"#C = \"c\"", "#C = \"d\""});
  std::string expression = "\"x\"";
  for (int i = 0; i < 100000; ++i) expression += " + #C";
  const Texts names = NamesOf(definitions, expression);
  ASSERT_EQ(names.size(), MaxExpressionNames);
  EXPECT_EQ(names[0], "x" + std::string(MaxNameLength, 'c'));
}
