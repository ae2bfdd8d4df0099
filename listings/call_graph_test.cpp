#include "listings/call_graph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listings/testing/listing_test_support.h"

namespace {

using Texts = std::vector<std::string>;

/// A site as "callee<-caller@file:line", with " other case" and " self" when they hold.
std::string SiteText(const ProjectText& text, const CallSite& site) {
  return std::to_string(site.Callee) + "<-" + std::to_string(site.Caller) + "@" +
         text.Files()[site.File].FileName + ":" + std::to_string(site.LineNumber) +
         (site.OtherCase ? " other case" : "") + (site.IsSelfCall() ? " self" : "");
}

template <typename Sites>
Texts SiteTexts(const ProjectText& text, const Sites& sites) {
  Texts texts;
  for (const auto& site : sites) {
    if constexpr (std::is_pointer_v<std::decay_t<decltype(site)>>) {
      texts.push_back(SiteText(text, *site));
    } else {
      texts.push_back(SiteText(text, site));
    }
  }
  return texts;
}

/// A project whose procedures are 0 Walk (recursive), 1 Leaf, 2 and 3 Twin (one name
/// twice), with main code, a Declare line and a body whose tab-indented head is unlisted.
struct GraphProject {
  GraphProject() {
    test.Write("main.pb",
               "Declare Leaf(x)\n"              // 1: no call
               "XIncludeFile \"inc.pbi\"\n"     // 2
               "Procedure Walk(n)\n"            // 3
               "  Leaf(1) : walk(n - 1)\n"     // 4: two callees on one line
               "  Twin() ; Leaf(2)\n"           // 5: the comment holds no call
               "EndProcedure\n"                 // 6
               "Walk(3)\n");                    // 7: main code
    test.Write("inc.pbi",
               "Procedure Leaf(x)\n"            // 1
               "EndProcedure\n"                 // 2
               "CompilerIf #True\n"             // 3
               "Procedure Twin()\n"             // 4
               "EndProcedure\n"                 // 5
               "CompilerElse\n"                 // 6
               "Procedure Twin()\n"             // 7
               "  Twin()\n"                     // 8
               "EndProcedure\n"                 // 9
               "CompilerEndIf\n"                // 10
               "\tProcedure Hidden()\n"         // 11: not in the procedures list
               "  Leaf(3)\n"                    // 12
               "EndProcedure\n");               // 13
    test.TakeUp();
    EXPECT_EQ(text.Load(test.project.SourceFiles, test.project.Texts, host), ListingEnd::Finished);
  }

  TestProject test;
  RecordingHost host;
  ProjectText text;
};

}  // namespace

TEST(CallGraph, SitesByCalleeAndByCallerWithSelfCallsMainCodeAndUnlistedBodies) {
  GraphProject project;
  ASSERT_EQ(project.test.project.Procedures.size(), 4u);
  CallGraph graph;
  ASSERT_EQ(graph.Build(project.text, project.test.project.Procedures, project.host), ListingEnd::Finished);
  // Both Twin heads get every call of the name; Twin calling Twin is a self call of the
  // second head only.
  EXPECT_EQ(SiteTexts(project.text, graph.Sites()),
            (Texts{"0<-0@main.pb:4 other case self", "0<--1@main.pb:7", "1<-0@main.pb:4",
                   "1<--2@inc.pbi:12", "2<-0@main.pb:5", "2<-3@inc.pbi:8",
                   "3<-0@main.pb:5", "3<-3@inc.pbi:8 self"}));
  EXPECT_EQ(SiteTexts(project.text, graph.SitesIn(0)),
            (Texts{"0<-0@main.pb:4 other case self", "1<-0@main.pb:4", "2<-0@main.pb:5",
                   "3<-0@main.pb:5"}));
  EXPECT_EQ(SiteTexts(project.text, graph.SitesOf(1)), (Texts{"1<-0@main.pb:4", "1<--2@inc.pbi:12"}));
  EXPECT_TRUE(graph.SitesIn(1).empty());
  EXPECT_TRUE(graph.SitesOf(4).empty());
  EXPECT_TRUE(graph.SitesIn(-1).empty());
}

TEST(CallGraph, ABuildInSomeBodiesHoldsTheirSitesOnly) {
  GraphProject project;
  CallGraph graph;
  ASSERT_EQ(graph.BuildIn(project.text, project.test.project.Procedures, {3, 1}, project.host), ListingEnd::Finished);
  EXPECT_EQ(SiteTexts(project.text, graph.Sites()),
            (Texts{"2<-3@inc.pbi:8", "3<-3@inc.pbi:8 self"}));
  EXPECT_EQ(SiteTexts(project.text, graph.SitesIn(3)), SiteTexts(project.text, graph.Sites()));
  EXPECT_TRUE(graph.SitesIn(0).empty());
}

TEST(CallGraph, AStopLeavesTheBuildUnfinished) {
  GraphProject project;
  project.host.StopAtPoll = project.host.Polls + 2;
  CallGraph graph;
  EXPECT_EQ(graph.Build(project.text, project.test.project.Procedures, project.host), ListingEnd::Stopped);
}

TEST(CallGraph, AnIndexEntryWhoseHeadChangedOwnsNoCalls) {
  GraphProject project;
  ProcedureIndex procedures = project.test.project.Procedures;
  procedures[0].LineNumber = 2;  // Walk's head no longer stands there
  CallGraph graph;
  ASSERT_EQ(graph.Build(project.text, procedures, project.host), ListingEnd::Finished);
  EXPECT_TRUE(graph.SitesIn(0).empty());
  EXPECT_EQ(SiteTexts(project.text, graph.SitesOf(1)), (Texts{"1<--2@main.pb:4", "1<--2@inc.pbi:12"}));
  // The heads after it still pair with their entries.
  EXPECT_EQ(SiteTexts(project.text, graph.SitesIn(3)), (Texts{"2<-3@inc.pbi:8", "3<-3@inc.pbi:8 self"}));
}

TEST(CallGraph, ModuleRulesPickTheCalleesOfACallAndItsLetterCase) {
  TestProject test;
  test.Write("main.pb",
             "Procedure Area()\n"               // 0: the global Area
             "EndProcedure\n"
             "Module Geo\n"
             "Procedure Area()\n"               // 1: Geo's
             "  area()\n"                       // 5: Geo's own, in another case
             "EndProcedure\n"
             "EndModule\n"
             "x = geo::Area() + Area()\n");     // 8: Geo's, then the global one
  test.TakeUp();
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load(test.project.SourceFiles, test.project.Texts, host), ListingEnd::Finished);
  CallGraph graph;
  ASSERT_EQ(graph.Build(text, test.project.Procedures, host), ListingEnd::Finished);
  EXPECT_EQ(SiteTexts(text, graph.Sites()),
            (Texts{"0<--1@main.pb:8", "1<-1@main.pb:5 other case self", "1<--1@main.pb:8"}));
}

TEST(CallGraph, HeadsNamedPicksTheHeadsOfANameByModule) {
  ProcedureIndex procedures{{"Procedure Run()", "main.pb", 1},
                            {"Procedure.i run(x)", "main.pb", 4},
                            {"Procedure Run()", "main.pb", 9},
                            {"Procedure Other()", "main.pb", 12}};
  procedures[0].Module = "Area";
  EXPECT_EQ(HeadsNamed(procedures, "Run"), (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(HeadsNamed(procedures, "Run(a, b)"), (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(HeadsNamed(procedures, "AREA :: Run"), (std::vector<int32_t>{0}));
  EXPECT_EQ(HeadsNamed(procedures, "Run", true), (std::vector<int32_t>{2}));
  EXPECT_EQ(HeadsNamed(procedures, "run"), (std::vector<int32_t>{1}));
  EXPECT_TRUE(HeadsNamed(procedures, "Nowhere::Run").empty());
}
