#include "listings/call_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listings/testing/listing_test_support.h"

namespace {

using Texts = std::vector<std::string>;

/// Procedures 0 Main, 1 Fact (calls itself twice), 2 Log, 3 Both (calls Fact and Log);
/// main code calls Main.
class CallTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_.Write("main.pb",
                "Procedure Main()\n"           // 1
                "  Fact(3) : Log()\n"          // 2
                "  Both()\n"                   // 3
                "EndProcedure\n"               // 4
                "Procedure Fact(n)\n"          // 5
                "  x = Fact(n - 1) * Fact(1)\n"  // 6: one site, two calls
                "  y = Fact(1)\n"              // 7
                "  Log()\n"                    // 8
                "EndProcedure\n"               // 9
                "Procedure Log()\n"            // 10
                "EndProcedure\n"               // 11
                "Procedure Both()\n"           // 12
                "  Fact(2)\n"                  // 13
                "  Log()\n"                    // 14
                "EndProcedure\n"               // 15
                "Main()\n");                   // 16
    test_.TakeUp();
    ASSERT_EQ(text_.Load(test_.project.SourceFiles, test_.project.Texts, host_), ListingEnd::Finished);
    ASSERT_EQ(graph_.Build(text_, test_.project.Procedures, host_), ListingEnd::Finished);
  }

  /// Each node as indent, procedure, sites and mark.
  Texts Tree(int32_t root, TreeDirection direction, int depth) const {
    Texts texts;
    for (const TreeNode& node : BuildCallTree(graph_, root, direction, depth)) {
      const char* mark = node.Mark == TreeMark::Recursive  ? " recursive"
                         : node.Mark == TreeMark::SeeAbove ? " see above"
                                                           : "";
      texts.push_back(std::string(static_cast<size_t>(node.Depth) * 2, ' ') +
                      std::to_string(node.Procedure) + " x" + std::to_string(node.Sites) + mark);
      EXPECT_EQ(node.First != nullptr, node.Depth > 0);
    }
    return texts;
  }

  TestProject test_;
  RecordingHost host_;
  ProjectText text_;
  CallGraph graph_;
};

}  // namespace

TEST_F(CallTreeTest, CalleesMarkRecursionAndProceduresExpandedAbove) {
  EXPECT_EQ(Tree(0, TreeDirection::Callees, DefaultTreeDepth),
            (Texts{"0 x0", "  1 x1", "    1 x2 recursive", "    2 x1", "  2 x1 see above",
                   "  3 x1", "    1 x1 see above", "    2 x1 see above"}));
}

TEST_F(CallTreeTest, CallersEndInMainCodeAndTheDepthCutsTheTree) {
  EXPECT_EQ(Tree(2, TreeDirection::Callers, DefaultTreeDepth),
            (Texts{"2 x0", "  0 x1", "    -1 x1", "  1 x1", "    0 x1 see above",
                   "    1 x2 recursive", "    3 x1", "      0 x1 see above", "  3 x1 see above"}));
  EXPECT_EQ(Tree(2, TreeDirection::Callers, 1), (Texts{"2 x0", "  0 x1", "  1 x1", "  3 x1"}));
  EXPECT_EQ(Tree(2, TreeDirection::Callers, 0), (Texts{"2 x0"}));
  EXPECT_EQ(Tree(2, TreeDirection::Callers, 1000), Tree(2, TreeDirection::Callers, MaxTreeDepth));
  EXPECT_TRUE(Tree(4, TreeDirection::Callees, 4).empty());
}
