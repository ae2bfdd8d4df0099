// Declares generation: the Declare lines for procedures called above their head,
// grouped by file under comment headers, CR LF line ends.
#pragma once

#include <string>

#include "listings/project.h"

/// The Declare text of `candidates` (sorted and given headers in place); empty when there
/// are none.
std::string DeclaresText(DeclareCandidates& candidates);

