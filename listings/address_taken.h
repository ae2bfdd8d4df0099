// Procedures whose address the project takes: "@Name()" hands a procedure over as a
// callback, so it can be called from anywhere, also when no line of the project calls it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

/// Names, letters A-Z folded to lower case.
using FoldedNames = std::unordered_set<std::string>;

/// Adds to `names` every name that `line` writes as "@Name(" (blanks may stand before the
/// "(", a module prefix "Mod::" is dropped) outside strings and before its comment.
void CollectAddressTaken(std::string_view line, FoldedNames& names);

/// The name of the procedure of head `head_text`, folded as `CollectAddressTaken` folds.
std::string FoldedProcedureName(std::string_view head_text);
