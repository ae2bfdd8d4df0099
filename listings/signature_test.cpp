#include "listings/signature.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Difference(const std::string& declare, const std::string& head) {
  return SignatureDifference(SignatureOf(declare), SignatureOf(head));
}

}  // namespace

TEST(Signature, NamesBlanksAndLetterCaseAndImpliedTypesDoNotDiffer) {
  const std::pair<const char*, const char*> same[] = {
      {"Declare Session_IsRunning(OSSessonID$)", "Procedure Session_IsRunning(OSSessionID$)"},
      {"Declare.s Describe(name$)", "Procedure.S Describe( text.s )"},
      {"Declare Opt(a = 1,  b = #PB_Any)", "Procedure Opt(A=1, B=#pb_any)"},
      {"Declare Blend(*Target.RGBA, Alpha)", "Procedure Blend(*Pixel.RGBA, Opacity.i)"},
      {"Declare Raw(*p)", "Procedure Raw(*p.Point)"},  // a pointer's type only where both write one
      {"Declare Get()", "Procedure.i Get()"},
      {"DeclareC Walk(List Nodes.Node(), Map Seen())", "ProcedureC Walk(list nodes.node(), map seen.i())"},
      {"Declare Text(s$ = \"a, b\")", "Procedure Text(t.s = \"a, b\")"},
  };
  for (const auto& [declare, head] : same) EXPECT_EQ(Difference(declare, head), "") << declare;
}

TEST(Signature, EachDifferenceTheCompilerRefusesIsNamed) {
  EXPECT_EQ(Difference("Declare.s Title(w)", "Procedure Title(w)"), "return type");
  EXPECT_EQ(Difference("Declare Resize(w, h)", "Procedure Resize(w, h, d)"),
            "number of parameters: 2 vs 3");
  EXPECT_EQ(Difference("Declare Go()", "Procedure Go(x)"), "number of parameters: 0 vs 1");
  EXPECT_EQ(Difference("Declare Scale(f.f)", "Procedure Scale(f.d)"), "parameter 1: .f vs .d");
  EXPECT_EQ(Difference("Declare Put(a, b$)", "Procedure Put(a, b)"), "parameter 2: .s vs .i");
  EXPECT_EQ(Difference("Declare Fill(*b, n)", "Procedure Fill(b.i, n)"),
            "parameter 1: pointer vs no pointer");
  EXPECT_EQ(Difference("Declare Sort(Array a.i(1))", "Procedure Sort(List a.i())"),
            "parameter 1: Array vs List");
  EXPECT_EQ(Difference("Declare Keep(Map m())", "Procedure Keep(m)"), "parameter 1: Map vs plain");
  EXPECT_EQ(Difference("Declare Clamp(v, lo = 0, hi = 100)", "Procedure Clamp(v, lo = 0, hi = 10)"),
            "default of parameter 3");
  EXPECT_EQ(Difference("Declare Pad(s$ = \"A\")", "Procedure Pad(s$ = \"a\")"), "default of parameter 1");
  EXPECT_EQ(Difference("Declare.s Both(x.f)", "Procedure Both(x.l)"), "return type, parameter 1: .f vs .l");
}
