// Which procedure a call calls once a project has modules. A call `X::Name(` calls X's
// Name; a plain `Name(` calls the Name of the module block it stands in, else the one
// without module, else those of the modules in use (`UseModule`, per file, in line
// order). Every listing that matches calls decides its callees here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "listings/project.h"
#include "listings/project_text.h"

/// Which procedures of a key's name a listing counts the calls of.
struct CallTarget {
  bool AnyModule = true;  ///< every call of the name, whatever it calls (a plain name looked up)
  std::string Module;     ///< else the folded module of the one procedure; empty for none
};

/// The target of one procedure entry: its own module, or the procedure without module.
CallTarget TargetOf(const ProcedureEntry& entry);

/// True when two targets count the calls of the same procedures.
inline bool SameTarget(const CallTarget& one, const CallTarget& other) {
  return one.AnyModule == other.AnyModule && one.Module == other.Module;
}

/// The callees of one call, by their folded modules ("" for the procedure without module).
struct CallResolution {
  std::vector<std::string> Modules;
  bool Ambiguous = false;  ///< several modules in use have the name
};

/// The first call of a key in a line that calls a target.
struct TargetCall {
  int Found = 0;           ///< as `FindCall`: 0, +1, or -1 for another letter case
  bool Ambiguous = false;  ///< that call's name is had by several modules in use
};

/// The folded modules that have one procedure name, as a run of names in place: a caller
/// that tries a name on many lines reads them without going through the name's entry.
struct ModuleNames {
  const std::string* Data = nullptr;  ///< nullptr when no procedure has the name
  size_t Count = 0;
  /// "" is one of them: a procedure without module has the name. Most calls stand outside
  /// any module and ask only this, which then needs no read of the names.
  bool HoldsMain = false;
};

/// The run of the names of `modules`; the run of none (Data nullptr) for nullptr.
ModuleNames NamesOf(const std::vector<std::string>* modules);

/// A name as written in a lookup: "X::Name" (blanks allowed around "::") or "Name".
struct QualifiedName {
  std::optional<std::string> Module;  ///< X, when the name is qualified
  std::string Name;                   ///< the rest, parameter list kept
};

/// Splits at the first "::" before the first "(" of `text`; blanks around it are dropped.
QualifiedName SplitQualifiedName(std::string_view text);

/// The module name before a call's name that starts at `at` in `line`: "X::" or
/// "X :: " directly before it; nullopt for a plain call.
std::optional<std::string_view> QualifierBefore(std::string_view line, size_t at);

/// The module blocks, modules in use and procedure names of one project text.
class ModuleScope {
 public:
  /// Reads the module statements of `text` (which must outlive the scope) and the modules
  /// of `procedures`.
  ModuleScope(const ProjectText& text, const ProcedureIndex& procedures);

  /// False for a project without module statements: no rule applies there, and every
  /// call of a key calls each procedure of its name, as `FindCall` finds it.
  bool Active() const { return active_; }
  /// The text whose module statements the scope read.
  const ProjectText& Text() const { return text_; }
  /// The folded module whose Module or DeclareModule block holds line `line`; empty
  /// outside both and for an inactive scope.
  std::string_view ModuleAt(size_t line) const;
  /// True for a Declare line inside a DeclareModule block: it declares the procedure of
  /// that block's module only.
  bool IsModuleDeclaration(size_t line) const;
  /// The callees of the call whose name (`name` as its key has it) starts at `at` in
  /// `prepared`, the prepared form of line `line`.
  CallResolution Resolve(size_t line, std::string_view prepared, size_t at,
                         std::string_view name) const;
  /// `FindCall` for the calls of `key` in `prepared` (line `line`) that call `target`;
  /// `FindCall` itself for an inactive scope.
  TargetCall FindTargetCall(size_t line, std::string_view prepared, std::string_view key,
                            const CallTarget& target) const;
  /// The folded modules that have a procedure named `name` ("" for the one without
  /// module); nullptr for an inactive scope and for a name no procedure has.
  const std::vector<std::string>* ModulesHaving(std::string_view name) const;
  /// `FindTargetCall` with the modules of the key's name looked up before, for a caller
  /// that tries one key on many lines.
  TargetCall FindTargetCallIn(const std::vector<std::string>* having, size_t line,
                              std::string_view prepared, std::string_view key,
                              const CallTarget& target) const;
  /// The same with the modules of the key's name as a run (`NamesOf`).
  TargetCall FindTargetCallIn(ModuleNames having, size_t line, std::string_view prepared,
                              std::string_view key, const CallTarget& target) const;

 private:
  /// The module state of a run of lines; folded names.
  struct Context {
    std::string Module;
    bool Declaring = false;
    std::vector<std::string> Uses;
  };

  void ReadContexts(const ProjectText& text);
  CallResolution ResolveIn(const std::vector<std::string>* having, size_t line,
                           std::string_view prepared, size_t at) const;
  bool CallsTarget(ModuleNames having, size_t line, std::string_view prepared, size_t at,
                   const CallTarget& target, bool& ambiguous) const;
  const Context& ContextOf(size_t line) const { return contexts_[context_of_line_[line]]; }
  /// Index of the context read last.
  uint32_t Current() const { return static_cast<uint32_t>(contexts_.size() - 1); }

  const ProjectText& text_;
  bool active_ = false;
  std::vector<Context> contexts_;
  std::vector<uint32_t> context_of_line_;
  /// Folded procedure name to the folded modules that have it ("" for none).
  std::unordered_map<std::string, std::vector<std::string>> modules_by_name_;
};
