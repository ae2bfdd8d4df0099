#include "source/include_statement.h"

#include <gtest/gtest.h>

namespace {
constexpr const char* kHome = "/pb/";
}

TEST(IncludeStatement, IncludeFileNameIsCleaned) {
  struct Case {
    const char* line;
    const char* name;  // nullptr: the line adds nothing
    bool once;
  };
  const Case cases[] = {
      {"IncludeFile \"a.pb\"", "a.pb", false},
      {"XIncludeFile \"a.pb\"", "a.pb", true},
      {"xincludefile \"a.pb\"", nullptr, false},
      {"includefile \"a.pb\"", nullptr, false},
      {"XIncludeFile \"Common.pb\"   ; must come first", "Common.pb", true},
      {"IncludeFile \"a.pb\"\t; tab before the comment", "a.pb", false},
      {"IncludeFile \"a.pb\"\t", "a.pb", false},
      {"IncludeFile \"  my file.pb  \"", "my file.pb", false},
      {"IncludeFile \"a;b.pb\"", "a", false},
      {"IncludeFile \"\"", nullptr, false},
      {"IncludeFile ; nothing", nullptr, false},
      {"IncludeFile", nullptr, false},
      {"IncludeFile \"sub/a.pb\" ; comment", "sub/a.pb", false},
      {"IncludeFile \"dir\" + \"/a.pb\"", "dir + /a.pb", false},
      {"IncludeFile #PB_Compiler_Home + \"x.pb\"", "#PB_Compiler_Home + x.pb", false},
      {"x = 1 : IncludeFile \"a.pb\"", nullptr, false},
      {"IncludeFile \"a.pb\" : IncludeFile \"b.pb\"", "a.pb : IncludeFile b.pb", false},
      {"\t; IncludeFile \"y.pb\"", "y.pb", false},
      {"Procedure MyIncludeFileLoader()", "Loader()", false},
      {"s$ = \"IncludeFile\"", nullptr, false},  // only the closing quote follows: empty
  };
  for (const Case& c : cases) {
    const auto statement = IncludeFileValue(c.line);
    if (c.name == nullptr) {
      EXPECT_FALSE(statement.has_value()) << c.line;
      continue;
    }
    ASSERT_TRUE(statement.has_value()) << c.line;
    EXPECT_EQ(statement->Name, c.name) << c.line;
    EXPECT_EQ(statement->Once, c.once) << c.line;
  }
}

TEST(IncludeStatement, IncludePathValueIsCleaned) {
  struct Case {
    const char* line;
    const char* directory;  // nullptr: no IncludePath statement
  };
  const Case cases[] = {
      {"IncludePath \"/opt/inc/\"", "/opt/inc/"},
      {"IncludePath \"\"", ""},
      {"IncludePath", ""},
      {"IncludePath #PB_Compiler_Home + \"Include/\"", "/pb/Include/"},
      {"IncludePath \"a\" + #PB_Compiler_Home + \"b\"", "a/pb/b"},
      {"IncludePath \"/opt/my inc/\"  ; where the libraries live", "/opt/myinc/"},
      {"IncludePath \"/opt/inc/\"\t; tab before the comment", "/opt/inc/"},
      {"IncludePath \"inc\"", "inc"},
      {"includepath \"/opt/inc/\"", nullptr},
      {"x = 1 : IncludePath \"/opt/inc/\"", nullptr},
      {"IncludePath \"/x\" : IncludeFile \"a.pb\"", "/x:IncludeFilea.pb"},
  };
  for (const Case& c : cases) {
    const auto directory = IncludePathValue(c.line, kHome);
    if (c.directory == nullptr) {
      EXPECT_FALSE(directory.has_value()) << c.line;
      continue;
    }
    ASSERT_TRUE(directory.has_value()) << c.line;
    EXPECT_EQ(*directory, c.directory) << c.line;
  }
}

TEST(IncludeStatement, HomeHoldingTheConstantIsReplacedOnce) {
  EXPECT_EQ(IncludePathValue("IncludePath #PB_Compiler_Home", "/#PB_Compiler_Home/"),
            "/#PB_Compiler_Home/");
}

TEST(IncludeStatement, KeywordInTheHeadTakesItsValueFromTheWholeLine) {
  // The head is "IncludePath \"/x\" "; the IncludeFile after the colon is not looked at.
  EXPECT_FALSE(IncludeFileValue("IncludePath \"/x\" : IncludeFile \"a.pb\"").has_value());
}
