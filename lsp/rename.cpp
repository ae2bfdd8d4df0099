#include "lsp/rename.h"

#include <set>

#include "lsp/listing_answers.h"
#include "lsp/procedure_target.h"
#include "lsp/uri.h"
#include "source/text_parts.h"

namespace {

/// The module name written before the "::" that ends just before `at`; empty when none does.
std::string_view QualifierBefore(std::string_view line, size_t at) {
  if (at < 2 || line.substr(at - 2, 2) != "::") return {};
  size_t start = at - 2;
  while (start > 0 && IsIdentifierChar(line[start - 1])) --start;
  return line.substr(start, at - 2 - start);
}

/// True when the name at `at` is the procedure of module `module` (empty: of no module)
/// as far as the line tells: no other module's "X::" and no field or method after a backslash.
bool NamesModule(std::string_view line, size_t at, std::string_view module) {
  if (at > 0 && line[at - 1] == '\\') return false;
  const std::string_view qualifier = QualifierBefore(line, at);
  return qualifier.empty() || FoldedName(qualifier) == FoldedName(module);
}

}  // namespace

std::vector<size_t> CallNamesIn(std::string_view line, std::string_view name, std::string_view module) {
  std::vector<size_t> found;
  bool in_string = false;
  for (size_t at = 0; at < line.size(); ++at) {
    if (line[at] == '"') in_string = !in_string;
    if (in_string) continue;
    if (line[at] == ';') break;
    if (at > 0 && IsIdentifierChar(line[at - 1])) continue;
    const size_t end = at + name.size();
    if (end > line.size() || FoldedName(line.substr(at, name.size())) != FoldedName(name)) continue;
    if (end < line.size() && IsIdentifierChar(line[end])) continue;
    const size_t next = line.find_first_not_of(" \t", end);
    if (next != std::string_view::npos && line[next] == '(' && NamesModule(line, at, module)) {
      found.push_back(at);
    }
  }
  return found;
}

namespace {

std::optional<ProcedureTarget> RenameTarget(RequestScope& scope, const Json& params, DocumentInProject& document) {
  std::optional<ProcedureTarget> target = TargetOfRequest(scope, params, document);
  if (!target) throw RpcFailure{RequestFailed, "no procedure of the project is named here"};
  return target;
}

bool IsPureBasicName(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (const char c : name) {
    if (!IsIdentifierChar(c)) return false;
  }
  return true;
}

/// Where the edits go: every (file, line) of a head, Declare or call.
std::set<std::pair<int32_t, int32_t>> RenamedLines(RequestScope& scope, ServedProject& served,
                                                   const ProcedureTarget& target) {
  std::set<std::pair<int32_t, int32_t>> lines;
  for (const int32_t head : target.Heads) {
    const ProcedureEntry& entry = served.State.Procedures[head];
    lines.insert({entry.File, entry.LineNumber});
    const ListingOutput& calls = RunCatalogListing(served, "calls", RequestFor(entry), scope.Host);
    for (int32_t row = 0; row < calls.List->RowCount(); ++row) {
      const RowSpot spot = SpotOfRow(served.State, *calls.List, row);
      if (IsLineRow(*calls.List, row) && spot.File >= 0) lines.insert({spot.File, spot.Line});
    }
  }
  return lines;
}

}  // namespace

Json AnswerPrepareRename(RequestScope& scope, const Json& params) {
  DocumentInProject document;
  const std::optional<ProcedureTarget> target = RenameTarget(scope, params, document);
  ProjectLines lines(document.Served->State, scope.Encoding);
  const std::string_view line = lines.Line(document.File, target->Line);
  return {{"range", RangeJson(line, static_cast<uint32_t>(target->Line - 1), target->Name.Start,
                              target->Name.End, scope.Encoding)},
          {"placeholder", target->Name.Bare}};
}

Json AnswerRename(RequestScope& scope, const Json& params) {
  const std::string new_name = params.at("newName").get<std::string>();
  if (!IsPureBasicName(new_name)) throw RpcFailure{InvalidParams, "the new name is no PureBasic name"};
  DocumentInProject document;
  const std::optional<ProcedureTarget> target = RenameTarget(scope, params, document);
  ServedProject& served = *document.Served;
  ProjectLines lines(served.State, scope.Encoding);
  const ProcedureEntry& renamed = served.State.Procedures[target->Heads.front()];
  const std::string old_name = BareName(renamed.HeadText);
  Json changes = Json::object();
  for (const auto& [file, line] : RenamedLines(scope, served, *target)) {
    const std::string_view text = lines.Line(file, line);
    const std::string uri = UriOfPath(served.State.SourceFiles[file].Path);
    for (const size_t at : CallNamesIn(text, old_name, renamed.Module)) {
      changes[uri].push_back({{"range", RangeJson(text, static_cast<uint32_t>(line - 1), at,
                                                  at + old_name.size(), scope.Encoding)},
                              {"newText", new_name}});
    }
  }
  return {{"changes", changes}};
}
