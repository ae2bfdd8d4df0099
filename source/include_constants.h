// The constants that include expressions use, built-in and defined in the project's files,
// and the file names that an include expression stands for with them.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "source/string_expression.h"

/// Most names one include expression is tried with; it counts the names produced.
constexpr size_t MaxExpressionNames = 64;

/// Longest name that is tried; a longer one is cut to one byte more and never tried.
constexpr size_t MaxNameLength = 4096;

/// What the built-in constants stand for in one include statement.
struct BuiltInConstants {
  std::string_view CompilerHome;   ///< #PB_Compiler_Home, ending in "/"
  std::string_view IncludingFile;  ///< #PB_Compiler_File: path of the file holding the statement
};

/// True for the names of the built-in constants: #PB_Compiler_Home, #PB_Compiler_FilePath,
/// #PB_Compiler_File, #PS, #PS$, #NPS and #NPS$.
bool IsBuiltInConstant(std::string_view name);

/// The string constants defined in a project's files, each with its definitions in order of
/// appearance (one per CompilerIf branch, for example).
class ConstantDefinitions {
 public:
  /// Adds `definition` unless it defines a built-in constant or repeats an earlier one.
  void Define(ConstantDefinition definition);
  /// The definitions of `name` in order; empty when it has none.
  const std::vector<ExpressionTerms>& Of(const std::string& name) const;
  /// True when `name` has the same definitions here and in `other`.
  bool SameFor(const std::string& name, const ConstantDefinitions& other) const;

 private:
  std::map<std::string, std::vector<ExpressionTerms>> definitions_;
  std::set<std::string> seen_;  // every definition as name and value, to drop repeats
};

/// The names that include expressions stand for under one set of definitions. Each
/// occurrence of a constant picks one of its definitions on its own; a definition that
/// uses an unknown constant or itself yields nothing.
class ExpressionNames {
 public:
  /// Works with `definitions`, which must outlive it.
  explicit ExpressionNames(const ConstantDefinitions& definitions) : definitions_(definitions) {}

  /// Calls `take` with each name that `terms` stands for in `built_ins`' statement, in
  /// order (the first term's choice varies slowest), until `take` returns true or
  /// MaxExpressionNames names were produced. Calls nothing when a constant is unknown.
  void ForEach(const ExpressionTerms& terms, const BuiltInConstants& built_ins,
               const std::function<bool(const std::string&)>& take);

  /// Every user constant that an expression looked up so far, defined or not.
  const std::set<std::string>& LookedUp() const { return looked_up_; }

 private:
  const ConstantDefinitions& definitions_;
  std::set<std::string> looked_up_;
};
