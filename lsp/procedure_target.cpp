#include "lsp/procedure_target.h"

#include "listings/call_graph.h"
#include "lsp/listing_answers.h"
#include "source/text_parts.h"

namespace {

/// Bounds of the identifier that holds byte `at` of `line` or ends there.
std::pair<size_t, size_t> IdentifierAround(std::string_view line, size_t at) {
  size_t start = std::min(at, line.size());
  if ((start == line.size() || !IsIdentifierChar(line[start])) && start > 0 &&
      IsIdentifierChar(line[start - 1])) {
    --start;
  }
  if (start >= line.size() || !IsIdentifierChar(line[start])) return {at, at};
  size_t end = start;
  while (start > 0 && IsIdentifierChar(line[start - 1])) --start;
  while (end < line.size() && IsIdentifierChar(line[end])) ++end;
  return {start, end};
}

/// Position after "::" (blanks around it allowed) that follows `end`; npos for none.
size_t AfterQualifier(std::string_view line, size_t end) {
  size_t at = line.find_first_not_of(" \t", end);
  if (at == std::string_view::npos || line.substr(at, 2) != "::") return std::string_view::npos;
  at = line.find_first_not_of(" \t", at + 2);
  return at == std::string_view::npos || !IsIdentifierChar(line[at]) ? std::string_view::npos : at;
}

/// Start of the module name before a "::" that ends right before `start`; npos for none.
size_t QualifierStart(std::string_view line, size_t start) {
  size_t at = start;
  while (at > 0 && (line[at - 1] == ' ' || line[at - 1] == '\t')) --at;
  if (at < 2 || line.substr(at - 2, 2) != "::") return std::string_view::npos;
  at -= 2;
  while (at > 0 && (line[at - 1] == ' ' || line[at - 1] == '\t')) --at;
  const auto [module_start, module_end] = IdentifierAround(line, at);
  return module_end == at && module_start < at ? module_start : std::string_view::npos;
}

}  // namespace

std::optional<NameInLine> NameAt(std::string_view line, size_t at) {
  auto [start, end] = IdentifierAround(line, at);
  if (start == end) return std::nullopt;
  std::string module;
  if (const size_t name = AfterQualifier(line, end); name != std::string_view::npos) {
    module = std::string(line.substr(start, end - start));
    std::tie(start, end) = IdentifierAround(line, name);
  } else if (const size_t qualifier = QualifierStart(line, start); qualifier != std::string_view::npos) {
    module = std::string(line.substr(qualifier, IdentifierAround(line, qualifier).second - qualifier));
  }
  NameInLine name{std::string(line.substr(start, end - start)), std::string(line.substr(start, end - start)), start, end};
  if (!module.empty()) name.Text = module + "::" + name.Bare;
  return name;
}

namespace {

/// True when the calls listing of head `head` lists line `line` of file `file`.
bool CallsListLine(ServedProject& project, int32_t head, int32_t file, int32_t line, ListingHost& host) {
  const ListingOutput& calls = RunCatalogListing(
      project, "calls", RequestFor(project.State.Procedures[head]), host);
  for (int32_t row = 0; row < calls.List->RowCount(); ++row) {
    const RowSpot spot = SpotOfRow(project.State, *calls.List, row);
    if (spot.File == file && spot.Line == line && IsLineRow(*calls.List, row)) return true;
  }
  return false;
}

/// The head whose own line is `line` of `file` and whose name is `name`; -1 for none.
int32_t HeadOnLine(const Project& project, int32_t file, int32_t line, std::string_view name) {
  for (size_t entry = 0; entry < project.Procedures.size(); ++entry) {
    const ProcedureEntry& head = project.Procedures[entry];
    if (head.File == file && head.LineNumber == line && FoldedName(BareName(head.HeadText)) == FoldedName(name)) {
      return static_cast<int32_t>(entry);
    }
  }
  return -1;
}

}  // namespace

std::optional<ProcedureTarget> TargetAt(ServedProject& project, int32_t file,
                                        TextPosition position, PositionEncoding encoding,
                                        ListingHost& host) {
  ProjectLines lines(project.State, encoding);
  const int32_t line = static_cast<int32_t>(position.Line) + 1;
  const std::string_view text = lines.Line(file, line);
  std::optional<NameInLine> name = NameAt(text, ByteOfColumn(text, position.Column, encoding));
  if (!name) return std::nullopt;
  ProcedureTarget target{{}, *name, line};
  if (const int32_t own = HeadOnLine(project.State, file, line, name->Bare); own >= 0) {
    target.Heads = {own};
    return target;
  }
  const std::vector<int32_t> heads = HeadsNamed(project.State.Procedures, name->Text);
  if (heads.empty()) return std::nullopt;
  for (const int32_t head : heads) {
    if (heads.size() > 1 && !CallsListLine(project, head, file, line, host)) continue;
    target.Heads.push_back(head);
  }
  if (target.Heads.empty()) target.Heads = heads;
  return target;
}

std::optional<ProcedureTarget> TargetOfRequest(RequestScope& scope, const Json& params,
                                               DocumentInProject& document) {
  document = ProjectDocument(scope, params);
  const TextPosition position = PositionOf(params.at("position"));
  if (document.File < 0) return std::nullopt;
  return TargetAt(*document.Served, document.File, position, scope.Encoding, scope.Host);
}
