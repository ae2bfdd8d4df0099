#include "app/jump_to_line.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>

#include "app/editor_launch_posix.h"
#include "app/leading_digits.h"
#include "source/path_parts.h"

namespace {

// A name in double quotes: the text after the opening quote up to the next one.
std::string_view QuotedName(std::string_view file_cell) {
  const std::string_view inner = file_cell.substr(1);
  return inner.substr(0, inner.find('"'));
}

// Byte-wise equality after upper-casing each byte by the current locale's rules, so a name
// written in another letter case (a call row's file, a quoted name) still finds its file.
bool EqualIgnoringCase(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) {
    return false;
  }
  for (size_t i = 0; i < left.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(left[i])) !=
        std::toupper(static_cast<unsigned char>(right[i]))) {
      return false;
    }
  }
  return true;
}

// The value of an environment variable, empty when it is not set.
std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

std::string_view JumpFileName(std::string_view file_cell) {
  const std::string_view name =
      !file_cell.empty() && file_cell.front() == '"' ? QuotedName(file_cell) : file_cell;
  return FileNamePart(name);
}

int32_t JumpLineNumber(std::string_view line_cell) {
  // The "Procedures" list right-aligns its line numbers with blanks, so blanks are skipped.
  line_cell.remove_prefix(std::min(line_cell.find_first_not_of(" \t"), line_cell.size()));
  return static_cast<int32_t>(LeadingDigitsValue(line_cell, std::numeric_limits<int32_t>::max()));
}

const SourceFile* FindJumpFile(const SourceFileList& files, std::string_view name) {
  if (name.empty()) {
    return nullptr;
  }
  for (const SourceFile& file : files) {
    if (EqualIgnoringCase(FileNamePart(file.Path), name)) {
      return &file;
    }
  }
  return nullptr;
}

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
  const int32_t row = list.SelectedRow();
  const SourceFile* file = FindJumpFile(files, JumpFileName(list.CellText(row, ColumnFile)));
  if (file == nullptr) {
    return;
  }
  const int32_t line = JumpLineNumber(list.CellText(row, ColumnLine));
  StartDetachedProgram(EditorArguments(EditorProgram(), file->Path, line));
}
