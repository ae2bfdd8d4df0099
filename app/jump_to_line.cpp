#include "app/jump_to_line.h"

#include <cstdlib>

#include "app/editor_launch_posix.h"
#include "listings/row_location.h"

namespace {

// The value of an environment variable, empty when it is not set.
std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

std::vector<std::string> EditorArguments(const std::string& program, const std::string& path,
                                         int32_t line) {
  return {program, path, "-l", std::to_string(line)};
}

std::string EditorProgram() {
  // The PureBasic IDE names itself in PB_TOOL_IDE for every tool it starts, so the jump
  // reaches the IDE the user works in; DefaultCompilerHome covers PUREBASIC_HOME and the
  // built-in installation.
  const std::string_view tool_ide = Environment("PB_TOOL_IDE");
  if (!tool_ide.empty()) {
    return std::string(tool_ide);
  }
  return DefaultCompilerHome() + "compilers/purebasic";
}

void JumpToLine(const ResultList& list, const SourceFileList& files) {
  const RowLocation at = LocateRow(list, list.SelectedRow(), files);
  if (at.File == nullptr) {
    return;
  }
  StartDetachedProgram(EditorArguments(EditorProgram(), at.File->Path, at.Line));
}
