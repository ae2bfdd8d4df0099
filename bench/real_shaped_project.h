// The bench's real-shaped projects: what real PureBasic applications have and the first
// generator lacks, at the proportions measured on bench/real_shaped_sample.pb (see the
// .cpp): lines that call many procedures, a few hundred names that many lines call,
// "Procedure..." variables and structure fields that are no heads, long lines, keys that
// are no identifiers, main code between the procedures, and module blocks.
#pragma once

#include "bench/generator_common.h"

/// Writes the real-shaped project of `shape` into `shape.dir` (which must exist); the same
/// shape always gives the same bytes.
void WriteRealShapedProject(const Shape& shape);
