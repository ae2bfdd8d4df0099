// The order in which the compiler reads a project's lines: the main file from its first
// line, and at each include statement the whole included file before the next line,
// depth first; an XIncludeFile of a file read before, and a file that would include
// itself, are not read again. The source file list keeps its breadth-first order; this
// is a second view of the same files.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "source/source_files.h"

/// Lines `FirstLine` to `LastLine` (1-based, inclusive) of one entry of the source file
/// list, read one after the other.
struct CompileSpan {
  size_t Entry = 0;
  int32_t FirstLine = 1;
  int32_t LastLine = ToFileEnd;  ///< `ToFileEnd` for the rest of the file

  /// The last line of a span that runs to the end of its file.
  static constexpr int32_t ToFileEnd = std::numeric_limits<int32_t>::max();
};

/// The spans of `files` (as `ScanIncludes` built them, with their include statements) in
/// compile order. A statement that added no entry reads the first entry of the same path;
/// an entry that no statement reaches in this order has no span.
std::vector<CompileSpan> CompileOrder(const SourceFileList& files);
