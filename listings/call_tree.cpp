// Call trees walk the call graph depth first. A procedure is expanded at most once in a
// tree, so a tree has at most one node per edge of the graph plus the root.
#include "listings/call_tree.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "listings/check_graph.h"

namespace {

/// One child of a node: the procedure at the other end of its sites and how many.
struct Edge {
  int32_t Procedure = 0;
  int32_t Sites = 0;
  const CallSite* First = nullptr;
};

/// Groups sites (in line order) by the procedure at their other end, in order of first site.
template <typename End>
std::vector<Edge> EdgesOf(const std::vector<const CallSite*>& sites, const End& end) {
  std::vector<Edge> edges;
  std::unordered_map<int32_t, size_t> edge_of;
  for (const CallSite* site : sites) {
    const auto [found, added] = edge_of.try_emplace(end(*site), edges.size());
    if (added) edges.push_back({end(*site), 0, site});
    ++edges[found->second].Sites;
  }
  return edges;
}

class TreeWalk {
 public:
  TreeWalk(const CallGraph& graph, TreeDirection direction, int depth)
      : graph_(graph), direction_(direction), depth_(depth),
        on_path_(graph.ProcedureCount()), expanded_(graph.ProcedureCount()) {}

  /// Adds the node of `edge` at `depth` and, unless marked or at the last level, the
  /// subtree below it.
  void Visit(const Edge& edge, int depth) {
    TreeNode node{depth, edge.Procedure, edge.Sites, edge.First, TreeMark::None};
    if (edge.Procedure < 0) {
      nodes_.push_back(node);
      return;
    }
    const size_t procedure = static_cast<size_t>(edge.Procedure);
    if (on_path_[procedure]) node.Mark = TreeMark::Recursive;
    else if (expanded_[procedure]) node.Mark = TreeMark::SeeAbove;
    nodes_.push_back(node);
    if (node.Mark != TreeMark::None || depth >= depth_) return;
    expanded_[procedure] = true;
    on_path_[procedure] = true;
    for (const Edge& child : Children(edge.Procedure)) Visit(child, depth + 1);
    on_path_[procedure] = false;
  }

  /// The nodes visited, in depth-first order.
  std::vector<TreeNode> Nodes() && { return std::move(nodes_); }

 private:
  std::vector<Edge> Children(int32_t procedure) const {
    if (direction_ == TreeDirection::Callees) {
      return EdgesOf(graph_.SitesIn(procedure), [](const CallSite& site) { return site.Callee; });
    }
    std::vector<const CallSite*> sites;
    for (const CallSite& site : graph_.SitesOf(procedure)) sites.push_back(&site);
    return EdgesOf(sites, [](const CallSite& site) { return site.Caller; });
  }

  const CallGraph& graph_;
  TreeDirection direction_;
  int depth_;
  std::vector<bool> on_path_;
  std::vector<bool> expanded_;
  std::vector<TreeNode> nodes_;
};

}  // namespace

std::vector<TreeNode> BuildCallTree(const CallGraph& graph, int32_t root,
                                    TreeDirection direction, int depth) {
  if (root < 0 || static_cast<size_t>(root) >= graph.ProcedureCount()) return {};
  TreeWalk walk(graph, direction, std::clamp(depth, 0, MaxTreeDepth));
  walk.Visit({root, 0, nullptr}, 0);
  return std::move(walk).Nodes();
}

ListingResult ListCallTree(Project& project, ResultList&, ListingHost& host,
                           const ListingRequest& request) {
  const StopEnabled stop(host);
  auto trees = std::make_shared<CallTrees>();
  ResultList unshown(ListKind::CallTree, "");  // a tree listing has no rows, stopped or not
  if (ReadCheckGraph(project, trees->Text, trees->Graph, unshown, host) == ListingEnd::Stopped) {
    return EndedAs(ListingEnd::Stopped);
  }
  for (const int32_t head : HeadsNamed(project.Procedures, request.Text, request.WithoutModule)) {
    const std::vector<TreeNode> tree =
        BuildCallTree(*trees->Graph, head, request.Direction, request.Depth);
    trees->Nodes.insert(trees->Nodes.end(), tree.begin(), tree.end());
  }
  ListingResult result;
  result.Trees = std::move(trees);
  return result;
}
