// How the report tool prints a call tree: indented text for a person, one JSON object per
// node, or a Graphviz digraph that `dot` draws.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "listings/call_tree.h"
#include "listings/project.h"
#include "listings/project_text.h"

/// Where a tree node stands: the procedure's name and head, or, for callers that are no
/// listed procedure, a name in parentheses and the place of the first call.
struct NodePlace {
  std::string Name;       ///< the procedure's name without parameters, or "(main code)"
  std::string FileName;
  int32_t LineNumber = 0;
};

/// The place of `node` in a tree of `procedures` over `text`.
NodePlace PlaceOf(const TreeNode& node, const ProcedureIndex& procedures, const ProjectText& text);

/// One line per node: two blanks per level, name, file:line, the edge's site count and the
/// mark ("recursive", "see above").
void WriteTreeText(const std::vector<TreeNode>& nodes, const ProcedureIndex& procedures,
                   const ProjectText& text, std::ostream& out);
/// One {"depth", "name", "file", "line", "sites", "mark"} object per node.
void WriteTreeJson(const std::vector<TreeNode>& nodes, const ProcedureIndex& procedures,
                   const ProjectText& text, std::ostream& out);
/// A digraph with one node per procedure and one edge per calling pair, from caller to
/// callee whichever way the tree grew, labelled with its site count; edges that close a
/// cycle are dashed.
void WriteTreeDot(const std::vector<TreeNode>& nodes, TreeDirection direction,
                  const ProcedureIndex& procedures, const ProjectText& text, std::ostream& out);
