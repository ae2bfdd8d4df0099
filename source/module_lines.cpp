#include "source/module_lines.h"

#include <algorithm>

#include "source/text_parts.h"

namespace {

struct Keyword {
  std::string_view Text;
  ModuleStatement Statement;
  bool Named;
};

constexpr Keyword kKeywords[] = {
    {"Module", ModuleStatement::Module, true},
    {"EndModule", ModuleStatement::EndModule, false},
    {"DeclareModule", ModuleStatement::DeclareModule, true},
    {"EndDeclareModule", ModuleStatement::EndDeclareModule, false},
    {"UseModule", ModuleStatement::UseModule, true},
    {"UnuseModule", ModuleStatement::UnuseModule, true},
};

/// The name after a named keyword: blanks or tabs first, then at least one name character.
std::string_view NameAfterKeyword(std::string_view rest) {
  const size_t start = rest.find_first_not_of(" \t");
  if (start == 0 || start == std::string_view::npos) return {};
  size_t end = start;
  while (end < rest.size() && IsIdentifierChar(rest[end])) ++end;
  return rest.substr(start, end - start);
}

}  // namespace

ModuleLine ClassifyModuleWord(std::string_view line, size_t start) {
  // The second letters tell most lines from every keyword before a comparison.
  const std::string_view rest = line.substr(start);
  if (rest.size() < 6) return {};
  for (const Keyword& keyword : kKeywords) {
    if (keyword.Text[1] != rest[1] || rest.substr(0, keyword.Text.size()) != keyword.Text) continue;
    const std::string_view after = rest.substr(keyword.Text.size());
    // Only the whole word: "Modules" or "EndModule2" is none.
    if (!after.empty() && IsIdentifierChar(after.front())) return {};
    if (!keyword.Named) return {keyword.Statement, {}};
    const std::string_view name = NameAfterKeyword(after);
    if (name.empty()) return {};
    return {keyword.Statement, name};
  }
  return {};
}

void ModuleTracker::StartFile() {
  module_.clear();
  in_declare_module_ = false;
  uses_.clear();
}

ModuleStatement ModuleTracker::Track(std::string_view line) {
  const ModuleLine statement = ClassifyModuleLine(line);
  switch (statement.Statement) {
    case ModuleStatement::Module:
    case ModuleStatement::DeclareModule:
      module_ = std::string(statement.Name);
      in_declare_module_ = statement.Statement == ModuleStatement::DeclareModule;
      break;
    case ModuleStatement::EndModule:
    case ModuleStatement::EndDeclareModule:
      module_.clear();
      in_declare_module_ = false;
      break;
    case ModuleStatement::UseModule: {
      std::string folded = FoldedName(statement.Name);
      if (std::find(uses_.begin(), uses_.end(), folded) == uses_.end()) uses_.push_back(folded);
      break;
    }
    case ModuleStatement::UnuseModule:
      uses_.erase(std::remove(uses_.begin(), uses_.end(), FoldedName(statement.Name)), uses_.end());
      break;
    case ModuleStatement::None: break;
  }
  return statement.Statement;
}
