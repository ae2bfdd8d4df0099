#include "report/tree_output.h"

#include <gtest/gtest.h>

#include <sstream>

#include "listings/testing/listing_test_support.h"

namespace {

// Two heads of Run (one per CompilerIf branch), a shared callee reached twice, recursion,
// two calls on one line (one site), and a caller in the main code.
constexpr char kProject[] =
    "CompilerIf #True\n"          // 1
    "Procedure Run()\n"           // 2
    "  Step() : Step()\n"         // 3
    "  Helper()\n"                // 4
    "EndProcedure\n"              // 5
    "CompilerElse\n"              // 6
    "Procedure Run()\n"           // 7
    "  Run()\n"                   // 8
    "EndProcedure\n"              // 9
    "CompilerEndIf\n"             // 10
    "Procedure Step()\n"          // 11
    "  Helper()\n"                // 12
    "EndProcedure\n"              // 13
    "Procedure Helper()\n"        // 14
    "EndProcedure\n"              // 15
    "Run()\n";                    // 16

/// The trees of `name` in `direction` as the tree listing gives them, printed by `write`.
template <typename Write>
std::string Printed(std::string_view name, TreeDirection direction, Write write) {
  TestProject test;
  test.Write("main.pb", kProject);
  test.TakeUp();
  ResultList& list = test.history.OpenResultList(ListKind::CallTree, name);
  ListingRequest request{std::string(name)};
  request.Direction = direction;
  const ListingResult result = ListCallTree(test.project, list, test.host, request);
  EXPECT_EQ(list.Caption(), "Tree: " + std::string(name) + "...");
  EXPECT_EQ(list.RowCount(), 0);
  std::ostringstream out;
  if (result.Trees) write(*result.Trees, test.project.Procedures, out);
  return out.str();
}

}  // namespace

TEST(TreeOutput, TextGivesEachHeadItsTreeAndMarksWhatIsNotExpandedAgain) {
  const auto text = [](const CallTrees& trees, const ProcedureIndex& procedures, std::ostream& out) {
    WriteTreeText(trees.Nodes, procedures, *trees.Text, out);
  };
  EXPECT_EQ(Printed("Run", TreeDirection::Callees, text),
            "Run  main.pb:2\n"
            "  Step  main.pb:11  1 site\n"
            "    Helper  main.pb:14  1 site\n"
            "  Helper  main.pb:14  1 site  see above\n"
            "\n"
            "Run  main.pb:7\n"
            "  Run  main.pb:2  1 site\n"
            "    Step  main.pb:11  1 site\n"
            "      Helper  main.pb:14  1 site\n"
            "    Helper  main.pb:14  1 site  see above\n"
            "  Run  main.pb:7  1 site  recursive\n");
  EXPECT_EQ(Printed("Helper", TreeDirection::Callers, text),
            "Helper  main.pb:14\n"
            "  Run  main.pb:2  1 site\n"
            "    Run  main.pb:7  1 site\n"
            "      Run  main.pb:7  1 site  recursive\n"
            "      (main code)  main.pb:16  1 site\n"
            "    (main code)  main.pb:16  1 site\n"
            "  Step  main.pb:11  1 site\n"
            "    Run  main.pb:2  1 site  see above\n");
}

TEST(TreeOutput, DotDrawsEachProcedureOnceAndEachCallingPairOnceFromCallerToCallee) {
  const std::string dot = Printed(
      "Helper", TreeDirection::Callers,
      [](const CallTrees& trees, const ProcedureIndex& procedures, std::ostream& out) {
        WriteTreeDot(trees.Nodes, TreeDirection::Callers, procedures, *trees.Text, out);
      });
  EXPECT_NE(dot.find("  main [label=\"(main code)\\nmain.pb:16\"];\n"), std::string::npos) << dot;
  EXPECT_NE(dot.find("  main -> p0 [label=\"1\"];\n"), std::string::npos) << dot;
  EXPECT_NE(dot.find("  p1 -> p1 [label=\"1\", style=dashed];\n"), std::string::npos) << dot;
  EXPECT_NE(dot.find("  p2 -> p3 [label=\"1\"];\n"), std::string::npos) << dot;
  EXPECT_EQ(dot.find("p0 [label=\"Run\\nmain.pb:2\"];\n"), dot.rfind("p0 [label=\"Run\\nmain.pb:2\"];\n"));
  size_t edges = 0;
  for (size_t at = dot.find(" -> "); at != std::string::npos; at = dot.find(" -> ", at + 1)) ++edges;
  EXPECT_EQ(edges, 7u) << dot;
}
