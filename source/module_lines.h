// The module statements of a source line and the module state that they build up in one
// file: which module block a line stands in and which modules `UseModule` has put in use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// The statements that open, close or use a module.
enum class ModuleStatement {
  None,
  Module,            ///< "Module X": the module's procedures follow
  EndModule,         ///< "EndModule"
  DeclareModule,     ///< "DeclareModule X": the module's declarations follow
  EndDeclareModule,  ///< "EndDeclareModule"
  UseModule,         ///< "UseModule X": X's names callable without "X::" from here on
  UnuseModule,       ///< "UnuseModule X"
};

/// The module statement of one line and the module it names.
struct ModuleLine {
  ModuleStatement Statement = ModuleStatement::None;
  std::string_view Name;  ///< the module's name for Module, DeclareModule, UseModule, UnuseModule
};

/// `ClassifyModuleLine` for a line whose first character after blanks and tabs, at
/// `start`, is "M", "E", "D" or "U".
ModuleLine ClassifyModuleWord(std::string_view line, size_t start);

/// The statement at the start of `line` (leading blanks and tabs skipped): its keyword,
/// written exactly, as a whole word; the four that name a module need blanks or tabs and
/// a name of A-Z, a-z, 0-9 and "_" after it. None for every other line. Inline, since it
/// is asked of every line of a project and most lines are decided by their first letter.
inline ModuleLine ClassifyModuleLine(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
  if (start == line.size()) return {};
  const char first = line[start];
  if (first != 'M' && first != 'E' && first != 'D' && first != 'U') return {};
  return ClassifyModuleWord(line, start);
}

/// The module state of the lines of one file, fed in line order.
class ModuleTracker {
 public:
  /// Starts a file: no module block, no module in use.
  void StartFile();
  /// Takes the next line of the file; returns its statement.
  ModuleStatement Track(std::string_view line);
  /// The module (as written) whose Module or DeclareModule block the line stands in; empty
  /// outside both.
  const std::string& Module() const { return module_; }
  /// True inside a DeclareModule block.
  bool InDeclareModule() const { return in_declare_module_; }
  /// Folded names of the modules in use, in the order they were put in use.
  const std::vector<std::string>& Uses() const { return uses_; }

 private:
  std::string module_;
  bool in_declare_module_ = false;
  std::vector<std::string> uses_;
};
