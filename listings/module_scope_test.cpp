#include "listings/module_scope.h"

#include <gtest/gtest.h>

#include "listings/call_matching.h"
#include "listings/testing/listing_test_support.h"
#include "source/line_classification.h"

namespace {

using Numbers = std::vector<int32_t>;

/// A taken-up project with its text and scope.
struct ScopedProject {
  explicit ScopedProject(const std::string& main_text, const std::string& other_text = "") {
    test.Write("main.pb", main_text);
    test.Write("other.pbi", other_text);
    test.TakeUp();
    text.Load(test.project.SourceFiles, test.project.Texts, test.host);
  }

  /// Line numbers (of all files, in order) whose calls of `name` call `target`; a number
  /// is negated when its call is ambiguous. Heads are not searched, as in the listings.
  Numbers CallLines(const std::string& name, const CallTarget& target) {
    const ModuleScope scope(text, test.project.Procedures);
    const std::string key = CallKeyFromName(name);
    Numbers numbers;
    for (size_t line = 0; line < text.LineCount(); ++line) {
      const std::string prepared = NormalizeCallLine(text.SourceLine(line), key);
      if (IsProcedureHead(prepared)) continue;
      const TargetCall call = scope.FindTargetCall(line, prepared, key, target);
      if (call.Found != 0) numbers.push_back(call.Ambiguous ? -text.LineNumber(line) : text.LineNumber(line));
    }
    return numbers;
  }

  TestProject test;
  ProjectText text;
};

const CallTarget kGlobal{false, ""};
const CallTarget kGeo{false, "geo"};
const CallTarget kText{false, "text"};
const CallTarget kAny{};

/// The calls of `Name` that call `Target`: the line numbers that `CallLines` gives.
struct CallsOf {
  std::string Name;
  CallTarget Target;
  Numbers Lines;
};

/// A project (main.pb, other.pbi) and what the module rules find in it.
struct ScopeCase {
  std::string Title;
  std::string Main;
  std::string Other;
  std::vector<CallsOf> Calls;
};

std::string TargetText(const CallTarget& target) {
  if (target.AnyModule) return "any procedure";
  return target.Module.empty() ? "the global procedure" : "the procedure of " + target.Module;
}

}  // namespace

TEST(ModuleScope, EachCallCallsTheProceduresThatTheModuleRulesPick) {
  const ScopeCase cases[] = {
      {"qualified calls call only their module's procedure",
       std::string(kGeoAndTextAreas) +
           "x = Geo::Area(2, 3)\n"      // 9
           "y = Text :: Area (\"x\")\n" // 10: blanks around "::" and before "("
           "z = geo::area(1, 1)\n"      // 11: names folded, marked other case
           "w = Other::Area(1) + Geo::Area(2)\n",  // 12: the second call counts
       "",
       {{"Area", kGeo, {9, 11, 12}}, {"Area", kText, {10}}, {"Area", kGlobal, {}}}},
      {"plain calls inside a module call its own, then the global procedure",
       "Procedure Area()\n"
       "EndProcedure\n"
       "Procedure Size()\n"
       "EndProcedure\n"
       "Module Geo\n"
       "Procedure Area()\n"
       "  If Size()\n"                  // 7: Geo has no Size: the global one
       "    Area()\n"                   // 8: Geo's own Area
       "  EndIf\n"                      // a block that is no module keeps the line in Geo
       "  Area()\n"                     // 10
       "EndProcedure\n"
       "EndModule\n"
       "Area()\n"                       // 13: outside modules, the global Area
       "Size()\n",
       "",
       {{"Area", kGeo, {8, 10}}, {"Area", kGlobal, {13}}, {"Size", kGlobal, {7, 14}}}},
      {"modules in use count from UseModule to UnuseModule in their file only",
       std::string(kGeoAndTextAreas) +
           "Area()\n"                   // 9: nothing in use
           "UseModule Geo\n"
           "Area()\n"                   // 11: Geo's
           "UseModule Text\n"
           "Area()\n"                   // 13: both in use: each, marked ambiguous
           "UnuseModule Geo\n"
           "Area()\n"                   // 15: Text's
           "IncludeFile \"other.pbi\"\n",
       "Area()\n",                      // other.pbi, line 1: no module in use there
       // A plain name looked up lists every call as it is found, ambiguous ones marked.
       {{"Area", kGeo, {11, -13}}, {"Area", kText, {-13, 15}}, {"Area", kAny, {9, 11, -13, 15, 1}}}},
      {"a global procedure comes before modules in use",
       "Procedure Area()\n"
       "EndProcedure\n"
       "Module Geo\n"
       "Procedure Area()\n"
       "EndProcedure\n"
       "EndModule\n"
       "UseModule Geo\n"
       "Area()\n"                       // 8: the global Area
       "Geo::Area()\n",                 // 9
       "",
       {{"Area", kGlobal, {8}}, {"Area", kGeo, {9}}}},
      {"a Declare in a DeclareModule block names that module's procedure only",
       "Procedure Area(a)\n"
       "EndProcedure\n"
       "DeclareModule Geo\n"
       "  Declare Area(w, h)\n"          // 4: Geo's, though a global Area exists
       "  Declare Size()\n"              // 5: Geo has no Size: it names none
       "  Global g = Area(0)\n"          // 6: no Declare: a call by the rules, Geo's own
       "EndDeclareModule\n"
       "Module Geo\n"
       "Procedure Area(w, h)\n"
       "EndProcedure\n"
       "EndModule\n"
       "Procedure Size()\n"
       "EndProcedure\n"
       "Declare Area(a)\n",             // 14: outside a DeclareModule block: the global one
       "",
       {{"Area", kGeo, {4, 6}}, {"Area", kGlobal, {14}}, {"Size", kGlobal, {}},
        {"Area", kAny, {4, 6, 14}}}},
      {"without module statements every call of the key counts",
       "Procedure Area()\n"
       "EndProcedure\n"
       "Geo::Area()\n"
       "Area()\n",
       "",
       {{"Area", kGlobal, {3, 4}}, {"Area", kGeo, {3, 4}}}},
  };
  for (const ScopeCase& c : cases) {
    SCOPED_TRACE(c.Title);
    ScopedProject project(c.Main, c.Other);
    for (const CallsOf& calls : c.Calls) {
      SCOPED_TRACE("calls of " + calls.Name + " that call " + TargetText(calls.Target));
      EXPECT_EQ(project.CallLines(calls.Name, calls.Target), calls.Lines);
    }
  }
}

TEST(ModuleScope, AHeadInAModuleBlockRecordsItsModule) {
  ScopedProject project{std::string(kGeoAndTextAreas)};
  EXPECT_EQ(project.test.project.Procedures[0].Module, "Geo");
  EXPECT_EQ(project.test.project.Procedures[1].Module, "Text");
}

TEST(ModuleScope, QualifiedNamesAndQualifiersAreReadWithBlanksAroundTheColons) {
  const QualifiedName qualified = SplitQualifiedName("Geo :: Area(w, h::x)");
  EXPECT_EQ(qualified.Module, std::optional<std::string>("Geo"));
  EXPECT_EQ(qualified.Name, "Area(w, h::x)");
  const QualifiedName plain = SplitQualifiedName("Area(a::b)");  // "::" after "(" is no module
  EXPECT_EQ(plain.Module, std::nullopt);
  EXPECT_EQ(plain.Name, "Area(a::b)");
  EXPECT_EQ(QualifierBefore("x = Geo::Area(", 9), std::optional<std::string_view>("Geo"));
  EXPECT_EQ(QualifierBefore("x = Geo :: \tArea(", 12), std::optional<std::string_view>("Geo"));
  EXPECT_EQ(QualifierBefore("::Area(", 2), std::nullopt);
  EXPECT_EQ(QualifierBefore("x = Area(", 4), std::nullopt);
  EXPECT_EQ(QualifierBefore("a:Area(", 2), std::nullopt);
}
