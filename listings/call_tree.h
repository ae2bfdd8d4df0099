// Call trees: from one procedure down through its callees or up through its callers, over
// several levels, each procedure once per path, so recursion and shared callees show
// without the tree growing without end.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "listings/call_graph.h"
#include "listings/listing.h"
#include "listings/project_text.h"
#include "listings/result_list.h"

/// Why a node is not expanded although it has children.
enum class TreeMark : uint8_t {
  None,
  Recursive,  ///< the procedure is already on the path from the root
  SeeAbove,   ///< the procedure was expanded earlier in the tree
};

/// One node of a tree, in depth-first order.
struct TreeNode {
  int Depth = 0;                  ///< 0 for the root
  int32_t Procedure = 0;          ///< index in the procedure index, or `MainCode` /
                                  ///< `UnlistedProcedure` for callers that are no listed
                                  ///< procedure (never expanded)
  int32_t Sites = 0;              ///< call sites on the edge from the parent; 0 for the root
  const CallSite* First = nullptr;  ///< the edge's first site in line order; none for the root
  TreeMark Mark = TreeMark::None;
};

/// The tree of `root` (an index of the procedure index) in `direction`, down to `depth`
/// levels below the root (clamped to 0 .. `MaxTreeDepth`). Children stand in the line
/// order of their first call site. The nodes point into `graph`. Empty for a root that is
/// no procedure of the graph.
std::vector<TreeNode> BuildCallTree(const CallGraph& graph, int32_t root,
                                    TreeDirection direction, int depth);

/// True when `node` is the head of an edge that closes a cycle (its procedure is on the
/// path from the root).
inline bool IsRecursiveEdge(const TreeNode& node) { return node.Mark == TreeMark::Recursive; }

/// The trees of a tree listing with the project text and the graph that they point into.
struct CallTrees {
  std::shared_ptr<const ProjectText> Text;
  std::shared_ptr<const CallGraph> Graph;
  std::vector<TreeNode> Nodes;  ///< the tree of each head of the name, one after the other
};

/// The tree listing: the trees of every head named by the request's `Text` (as
/// `HeadsNamed` picks them, with `WithoutModule`), grown in its `Direction` down to its
/// `Depth`, as the result's `Trees`; `list` gets no rows. A stopped run gives no trees.
ListingResult ListCallTree(Project& project, ResultList& list, ListingHost& host,
                           const ListingRequest& request);
