// Test helper: runs the built pb-sourcetrek-report as the report tool's end-to-end tests
// need it. Header-only.
#pragma once

#include <string>
#include <vector>

#include "source/testing/program_run.h"

/// Runs the tool with `arguments` in `work_dir`; `asan_options`, when given, is added to
/// the tool's ASAN_OPTIONS.
inline ToolRun RunTool(const std::string& work_dir, const std::vector<std::string>& arguments,
                       const std::string& asan_options = "") {
  return RunProgram(PBST_REPORT_TOOL, work_dir, arguments, {asan_options, {}});
}
