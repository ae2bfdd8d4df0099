#include "source/line_classification.h"

#include <gtest/gtest.h>

TEST(LineClassification, CommentLineStartsWithSemicolon) {
  EXPECT_TRUE(IsCommentLine(";"));
  EXPECT_TRUE(IsCommentLine("; Procedure foo()"));
  EXPECT_FALSE(IsCommentLine(""));
  EXPECT_FALSE(IsCommentLine(" ; indented by a blank"));
  EXPECT_FALSE(IsCommentLine("\t; indented by a tab"));
  EXPECT_FALSE(IsCommentLine("x = 1 ; comment"));
  EXPECT_FALSE(IsCommentLine("\xEF\xBB\xBF; after a byte-order mark"));
}

TEST(LineClassification, ProcedureHeadNeedsBlankOrPointAsTenthCharacter) {
  struct Case {
    const char* text;
    bool head;
  };
  const Case cases[] = {
      {"Procedure foo()", true},
      {"Procedure ", true},            // 10 characters
      {"Procedure", false},            // the keyword alone, 9 characters
      {"Procedure.s", true},
      {"Procedure.", true},            // suffix point and nothing after it
      {"Procedure.i Sum(a, b)", true},
      {"ProcedureC foo()", false},
      {"ProcedureDLL foo()", false},
      {"ProcedureCDLL foo()", false},
      {"ProcedureReturn x", false},
      {"Procedure\tfoo()", false},
      {"procedure foo()", false},
      {"PROCEDURE foo()", false},
      {"\tProcedure foo()", false},
      {" Procedure foo()", false},
      {"; Procedure foo()", false},
      {"x: Procedure foo()", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsProcedureHead(c.text), c.head) << '"' << c.text << '"';
  }
}

TEST(LineClassification, ProcedureEndIsAPrefixTest) {
  EXPECT_TRUE(IsProcedureEnd("EndProcedure"));
  EXPECT_TRUE(IsProcedureEnd("EndProcedure ; done"));
  EXPECT_TRUE(IsProcedureEnd("EndProcedureX"));
  EXPECT_FALSE(IsProcedureEnd("endprocedure"));
  EXPECT_FALSE(IsProcedureEnd("EndProcedur"));
  EXPECT_FALSE(IsProcedureEnd("\tEndProcedure"));
  EXPECT_FALSE(IsProcedureEnd(""));
}

TEST(LineClassification, DeclareLineNeedsItsKeywordThenABlankOrPoint) {
  for (const char* text : {"Declare Foo()", "Declare.s Foo()", "DeclareC Foo()", "DeclareDLL.i Foo()",
                           "DeclareCDLL Foo()", "  \t Declare Foo()", "\tDeclareC.l Foo()"}) {
    EXPECT_TRUE(IsDeclareLine(text)) << '"' << text << '"';
  }
  for (const char* text : {"Declare\tFoo()", "declare Foo()", "Declares Foo()", "DeclareX Foo()",
                           "Declare", "; Declare Foo()", "x = 1 : Declare Foo()", "DeclareModule M",
                           ""}) {
    EXPECT_FALSE(IsDeclareLine(text)) << '"' << text << '"';
  }
}

TEST(LineClassification, ProcLabelRightAlignsTheNumberInSixPlaces) {
  EXPECT_EQ(ProcLabel(45, "Procedure foo()"), "    45 Procedure foo()");
  EXPECT_EQ(ProcLabel(7, "Procedure.s x()"), "     7 Procedure.s x()");
  EXPECT_EQ(ProcLabel(123456, "Procedure a()"), "123456 Procedure a()");
  EXPECT_EQ(ProcLabel(1234567, "Procedure a()"), "1234567 Procedure a()");
  EXPECT_EQ(ProcLabel(1, ""), "     1 ");
}

TEST(EnclosingProcedureTracking, HeadSetsLabelAndEndHidesIt) {
  EnclosingProcedure tracker(LabelStyle::Padded);
  tracker.StartFile();
  EXPECT_FALSE(tracker.Track("x = 1", 1));
  EXPECT_FALSE(tracker.Inside());
  EXPECT_EQ(tracker.CurrentLabel(), "");
  EXPECT_TRUE(tracker.Track("Procedure foo()", 45));
  EXPECT_TRUE(tracker.Inside());
  EXPECT_EQ(tracker.CurrentLabel(), "    45 Procedure foo()");
  EXPECT_FALSE(tracker.Track("foo()", 46));
  EXPECT_EQ(tracker.CurrentLabel(), "    45 Procedure foo()");
  EXPECT_FALSE(tracker.Track("EndProcedure", 47));
  EXPECT_FALSE(tracker.Inside());
  EXPECT_EQ(tracker.CurrentLabel(), "");
}

TEST(EnclosingProcedureTracking, BareStyleWritesTheNumberUnpadded) {
  EnclosingProcedure tracker(LabelStyle::Bare);
  tracker.Track("Procedure.i Sum(a, b)", 12);
  EXPECT_EQ(tracker.CurrentLabel(), "12 Procedure.i Sum(a, b)");
}

TEST(EnclosingProcedureTracking, SecondHeadReplacesTheLabelWithoutNesting) {
  EnclosingProcedure tracker(LabelStyle::Bare);
  tracker.Track("Procedure a()", 1);
  tracker.Track("Procedure b()", 2);
  EXPECT_EQ(tracker.CurrentLabel(), "2 Procedure b()");
  tracker.Track("EndProcedure", 3);
  EXPECT_FALSE(tracker.Inside());
}

TEST(EnclosingProcedureTracking, FlagSurvivesTheFileButTheLabelDoesNot) {
  EnclosingProcedure tracker(LabelStyle::Padded);
  tracker.StartFile();
  tracker.Track("Procedure open()", 3);  // the file ends without EndProcedure
  tracker.StartFile();
  EXPECT_TRUE(tracker.Inside());
  EXPECT_EQ(tracker.CurrentLabel(), "");
  tracker.Track("Procedure next()", 2);
  EXPECT_EQ(tracker.CurrentLabel(), "     2 Procedure next()");
}

TEST(EnclosingProcedureTracking, ProcedureReturnAndTabbedHeadsChangeNothing) {
  EnclosingProcedure tracker(LabelStyle::Padded);
  EXPECT_FALSE(tracker.Track("ProcedureReturn 1", 1));
  EXPECT_FALSE(tracker.Track("\tProcedure foo()", 2));
  EXPECT_FALSE(tracker.Inside());
}

TEST(LineClassification, IsDeclarationLineUsesTheTableInsideAndGlobalOutside) {
  EXPECT_TRUE(IsDeclarationLine(true, "Protected foo"));
  EXPECT_TRUE(IsDeclarationLine(true, "Procedure.i F(foo)"));
  EXPECT_TRUE(IsDeclarationLine(true, "Static x"));
  EXPECT_TRUE(IsDeclarationLine(true, "Shared x"));
  EXPECT_FALSE(IsDeclarationLine(true, "ProcedureReturn foo"));
  EXPECT_FALSE(IsDeclarationLine(false, "Protected foo"));
  EXPECT_TRUE(IsDeclarationLine(false, "GlobalCount = 1"));
  EXPECT_TRUE(IsDeclarationLine(true, "Global foo"));
  EXPECT_FALSE(IsDeclarationLine(true, "global foo"));
}
