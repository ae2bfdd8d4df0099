#include "source/module_lines.h"

#include <algorithm>

#include "source/text_parts.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

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

ModuleLine ClassifyModuleLine(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
  if (start == line.size()) return {};
  // Called for every line of a project: most lines are decided by their first letter.
  const char first = line[start];
  if (first != 'M' && first != 'E' && first != 'D' && first != 'U') return {};
  // Every keyword is a run of letters: the word decides, so "Modules" or "EndModule2" is none.
  size_t word_end = start;
  while (word_end < line.size() && IsLetter(line[word_end])) ++word_end;
  if (word_end < line.size() && IsIdentifierChar(line[word_end])) return {};
  const std::string_view word = line.substr(start, word_end - start);
  for (const Keyword& keyword : kKeywords) {
    if (word != keyword.Text) continue;
    if (!keyword.Named) return {keyword.Statement, {}};
    const std::string_view name = NameAfterKeyword(line.substr(word_end));
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
