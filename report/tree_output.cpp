// Output of call trees. A tree arrives in depth-first order, so a node's parent is the
// last node before it one level up.
#include "report/tree_output.h"

#include <set>
#include <utility>

#include "frontend/display_text.h"
#include "listings/procedure_calls.h"
#include "report/report_output.h"

namespace {

std::string_view MarkWord(TreeMark mark) {
  switch (mark) {
    case TreeMark::Recursive: return "recursive";
    case TreeMark::SeeAbove: return "see above";
    case TreeMark::None: break;
  }
  return "";
}

std::string SitesText(int32_t sites) {
  return std::to_string(sites) + (sites == 1 ? " site" : " sites");
}

/// The DOT id of a node's procedure: one node per procedure, one for main code.
std::string DotId(const TreeNode& node) {
  if (node.Procedure == MainCode) return "main";
  if (node.Procedure == UnlistedProcedure) return "unlisted";
  return "p" + std::to_string(node.Procedure);
}

/// `text` for a DOT string literal, quotes and backslashes escaped.
std::string DotEscaped(std::string_view text) {
  std::string dot;
  for (const char c : ToDisplayText(text)) {
    if (c == '"' || c == '\\') dot += '\\';
    dot += c;
  }
  return dot;
}

/// The parent of each node: the index of the last node before it one level up.
std::vector<size_t> Parents(const std::vector<TreeNode>& nodes) {
  std::vector<size_t> parents(nodes.size(), 0);
  std::vector<size_t> last_at_depth;
  for (size_t n = 0; n < nodes.size(); ++n) {
    const size_t depth = static_cast<size_t>(nodes[n].Depth);
    last_at_depth.resize(depth + 1);
    last_at_depth[depth] = n;
    if (depth > 0) parents[n] = last_at_depth[depth - 1];
  }
  return parents;
}

}  // namespace

NodePlace PlaceOf(const TreeNode& node, const ProcedureIndex& procedures,
                  const ProjectText& text) {
  if (node.Procedure < 0) {
    const std::string name = node.Procedure == MainCode ? "(main code)" : "(unlisted procedure)";
    return {name, text.Files()[node.First->File].FileName, node.First->LineNumber};
  }
  const ProcedureEntry& entry = procedures[static_cast<size_t>(node.Procedure)];
  const std::string name = ProcedureNameFromHead(entry.HeadText);
  return {name.substr(0, name.find('(')), entry.FileName, entry.LineNumber};
}

void WriteTreeText(const std::vector<TreeNode>& nodes, const ProcedureIndex& procedures,
                   const ProjectText& text, std::ostream& out) {
  for (const TreeNode& node : nodes) {
    const NodePlace place = PlaceOf(node, procedures, text);
    if (node.Depth == 0 && &node != &nodes.front()) out << '\n';
    out << std::string(static_cast<size_t>(node.Depth) * 2, ' ') << ToDisplayText(place.Name)
        << "  " << ToDisplayText(place.FileName) << ':' << place.LineNumber;
    if (node.Depth > 0) out << "  " << SitesText(node.Sites);
    if (node.Mark != TreeMark::None) out << "  " << MarkWord(node.Mark);
    out << '\n';
  }
}

void WriteTreeJson(const std::vector<TreeNode>& nodes, const ProcedureIndex& procedures,
                   const ProjectText& text, std::ostream& out) {
  for (const TreeNode& node : nodes) {
    const NodePlace place = PlaceOf(node, procedures, text);
    out << "{\"depth\": " << node.Depth << ", \"name\": " << JsonString(ToDisplayText(place.Name))
        << ", \"file\": " << JsonString(ToDisplayText(place.FileName))
        << ", \"line\": " << place.LineNumber << ", \"sites\": " << node.Sites
        << ", \"mark\": " << JsonString(MarkWord(node.Mark)) << "}\n";
  }
}

void WriteTreeDot(const std::vector<TreeNode>& nodes, TreeDirection direction,
                  const ProcedureIndex& procedures, const ProjectText& text, std::ostream& out) {
  out << "digraph calls {\n  rankdir=LR;\n  node [shape=box, fontname=\"Helvetica\", "
         "fontsize=10];\n  edge [fontname=\"Helvetica\", fontsize=9];\n";
  std::set<std::string> drawn;
  for (const TreeNode& node : nodes) {
    if (!drawn.insert(DotId(node)).second) continue;
    const NodePlace place = PlaceOf(node, procedures, text);
    out << "  " << DotId(node) << " [label=\"" << DotEscaped(place.Name) << "\\n"
        << DotEscaped(place.FileName) << ':' << place.LineNumber << "\"];\n";
  }
  const std::vector<size_t> parents = Parents(nodes);
  std::set<std::pair<std::string, std::string>> edges;
  for (size_t n = 0; n < nodes.size(); ++n) {
    if (nodes[n].Depth == 0) continue;
    std::string from = DotId(nodes[parents[n]]);
    std::string to = DotId(nodes[n]);
    if (direction == TreeDirection::Callers) std::swap(from, to);
    if (!edges.insert({from, to}).second) continue;
    out << "  " << from << " -> " << to << " [label=\"" << nodes[n].Sites << '"'
        << (IsRecursiveEdge(nodes[n]) ? ", style=dashed" : "") << "];\n";
  }
  out << "}\n";
}
