#include "listings/module_scope.h"

#include <algorithm>

#include "listings/call_candidates.h"
#include "listings/call_matching.h"
#include "source/module_lines.h"
#include "source/text_parts.h"

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimmedBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool Holds(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool Holds(ModuleNames names, std::string_view name) {
  return std::find(names.Data, names.Data + names.Count, name) != names.Data + names.Count;
}

}  // namespace

ModuleNames NamesOf(const std::vector<std::string>* modules) {
  if (!modules) return {};
  return {modules->data(), modules->size(), Holds(*modules, std::string())};
}

CallTarget TargetOf(const ProcedureEntry& entry) { return {false, FoldedName(entry.Module)}; }

QualifiedName SplitQualifiedName(std::string_view text) {
  const size_t colons = text.substr(0, text.find('(')).find("::");
  if (colons == npos) return {std::nullopt, std::string(text)};
  return {std::string(TrimmedBlanks(text.substr(0, colons))),
          std::string(TrimmedBlanks(text.substr(colons + 2)))};
}

std::optional<std::string_view> QualifierBefore(std::string_view line, size_t at) {
  size_t end = at;
  while (end > 0 && IsBlank(line[end - 1])) --end;
  if (end < 2 || line.substr(end - 2, 2) != "::") return std::nullopt;
  end -= 2;
  while (end > 0 && IsBlank(line[end - 1])) --end;
  size_t begin = end;
  while (begin > 0 && IsIdentifierChar(line[begin - 1])) --begin;
  if (begin == end) return std::nullopt;
  return line.substr(begin, end - begin);
}

ModuleScope::ModuleScope(const ProjectText& text, const ProcedureIndex& procedures)
    : text_(text) {
  ReadContexts(text);
  if (!active_) return;
  for (const ProcedureEntry& entry : procedures) {
    std::vector<std::string>& modules =
        modules_by_name_[FoldedName(CallKeyName(CallKeyFromHead(entry.HeadText)))];
    std::string module = FoldedName(entry.Module);
    if (!Holds(modules, module)) modules.push_back(std::move(module));
  }
}

// A line's context is the state after its own statement; a new context starts only at a
// file start or a module statement, so most lines share a few contexts, and only the
// statement lines need reading.
void ModuleScope::ReadContexts(const ProjectText& text) {
  if (!text.HasModuleStatements()) return;
  active_ = true;
  context_of_line_.resize(text.LineCount());
  const std::vector<size_t>& statements = text.ModuleStatementLines();
  auto statement = statements.begin();
  ModuleTracker tracker;
  for (const ProjectFile& file : text.Files()) {
    tracker.StartFile();
    contexts_.emplace_back();
    size_t line = file.FirstLine;
    const size_t end = file.FirstLine + file.LineCount;
    for (; statement != statements.end() && *statement < end; ++statement) {
      std::fill(context_of_line_.begin() + line, context_of_line_.begin() + *statement, Current());
      if (tracker.Track(text.SourceLine(*statement)) != ModuleStatement::None) {
        contexts_.push_back({FoldedName(tracker.Module()), tracker.InDeclareModule(), tracker.Uses()});
      }
      context_of_line_[*statement] = Current();
      line = *statement + 1;
    }
    std::fill(context_of_line_.begin() + line, context_of_line_.begin() + end, Current());
  }
}

std::string_view ModuleScope::ModuleAt(size_t line) const {
  return active_ ? std::string_view(ContextOf(line).Module) : std::string_view();
}

bool ModuleScope::IsModuleDeclaration(size_t line) const {
  return active_ && ContextOf(line).Declaring && text_.IsDeclare(line);
}

CallResolution ModuleScope::Resolve(size_t line, std::string_view prepared, size_t at,
                                    std::string_view name) const {
  return ResolveIn(ModulesHaving(name), line, prepared, at);
}

const std::vector<std::string>* ModuleScope::ModulesHaving(std::string_view name) const {
  if (!active_) return nullptr;
  const auto named = modules_by_name_.find(FoldedName(name));
  return named == modules_by_name_.end() ? nullptr : &named->second;
}

CallResolution ModuleScope::ResolveIn(const std::vector<std::string>* having_name, size_t line,
                                      std::string_view prepared, size_t at) const {
  if (!having_name) return {};
  const std::vector<std::string>& having = *having_name;
  const Context& context = ContextOf(line);
  // A Declare in a DeclareModule block declares its module's procedure, as if qualified.
  const std::optional<std::string_view> qualifier =
      IsModuleDeclaration(line) ? context.Module : QualifierBefore(prepared, at);
  if (qualifier) {
    std::string module = FoldedName(*qualifier);
    if (!Holds(having, module)) return {};
    return {{std::move(module)}, false};
  }
  if (!context.Module.empty() && Holds(having, context.Module)) return {{context.Module}, false};
  if (Holds(having, "")) return {{""}, false};
  CallResolution used;
  for (const std::string& module : context.Uses) {
    if (Holds(having, module)) used.Modules.push_back(module);
  }
  used.Ambiguous = used.Modules.size() > 1;
  return used;
}

TargetCall ModuleScope::FindTargetCall(size_t line, std::string_view prepared,
                                       std::string_view key, const CallTarget& target) const {
  if (!active_) return {FindCall(prepared, key), false};
  return FindTargetCallIn(ModulesHaving(CallKeyName(key)), line, prepared, key, target);
}

TargetCall ModuleScope::FindTargetCallIn(const std::vector<std::string>* having, size_t line,
                                         std::string_view prepared, std::string_view key,
                                         const CallTarget& target) const {
  return FindTargetCallIn(NamesOf(having), line, prepared, key, target);
}

TargetCall ModuleScope::FindTargetCallIn(ModuleNames having, size_t line, std::string_view prepared,
                                         std::string_view key, const CallTarget& target) const {
  if (!active_) return {FindCall(prepared, key), false};
  TargetCall call;
  call.Found = FindCallWhere(prepared, key, [&](size_t at) {
    bool ambiguous = false;
    if (!CallsTarget(having, line, prepared, at, target, ambiguous)) return false;
    call.Ambiguous = ambiguous;
    return true;
  });
  return call;
}

// `ResolveIn`'s rules, asked only whether the callees hold the target (any callees, even
// none, for a target of any module) and whether they are ambiguous, so that no list of
// callees is made for each call.
bool ModuleScope::CallsTarget(ModuleNames having, size_t line, std::string_view prepared,
                              size_t at, const CallTarget& target, bool& ambiguous) const {
  ambiguous = false;
  if (!having.Data) return target.AnyModule;
  const auto calls = [&](std::string_view module) {
    return target.AnyModule || module == target.Module;
  };
  const Context& context = ContextOf(line);
  const std::optional<std::string_view> qualifier =
      IsModuleDeclaration(line) ? context.Module : QualifierBefore(prepared, at);
  if (qualifier) {
    const std::string module = FoldedName(*qualifier);
    return target.AnyModule || (Holds(having, module) && calls(module));
  }
  if (!context.Module.empty() && Holds(having, context.Module)) return calls(context.Module);
  if (having.HoldsMain) return calls("");
  size_t used = 0;
  bool target_used = false;
  for (const std::string& module : context.Uses) {
    if (!Holds(having, module)) continue;
    ++used;
    target_used = target_used || calls(module);
  }
  ambiguous = used > 1;
  return target.AnyModule || target_used;
}
