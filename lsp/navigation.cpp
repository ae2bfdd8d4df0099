// Every answer here reads rows of the catalog's listings (calls, callees, all-calls) or
// the take-up's procedure index and include sites; none searches the text itself.
#include "lsp/navigation.h"


#include "lsp/listing_answers.h"
#include "lsp/procedure_target.h"
#include "lsp/uri.h"
#include "source/file_system.h"
#include "source/line_classification.h"

namespace {

/// The Location of the head of procedure `head`.
Json HeadLocation(ProjectLines& lines, const ProcedureEntry& head) {
  return lines.Location(head.File, head.LineNumber, BareName(head.HeadText));
}

/// Calls `visit(row, spot, declare)` for each line row of the calls listing of `head`.
template <typename Visit>
void VisitCallRows(RequestScope& scope, ServedProject& served, int32_t head, Visit visit) {
  const ListingOutput& calls =
      RunCatalogListing(served, "calls", RequestFor(served.State.Procedures[head]), scope.Host);
  for (int32_t row = 0; row < calls.List->RowCount(); ++row) {
    if (!IsLineRow(*calls.List, row)) continue;
    const RowSpot spot = SpotOfRow(served.State, *calls.List, row);
    if (spot.File < 0) continue;
    visit(*calls.List, row, spot, IsDeclareLine(calls.List->CellText(row, ColumnCalls)));
  }
}

/// The include statement on 1-based line `line` of file `file`; nullptr for none.
const IncludeSite* IncludeOnLine(const Project& project, int32_t file, int32_t line) {
  for (const IncludeSite& site : project.SourceFiles[file].Includes) {
    if (site.Line == line) return &site;
  }
  return nullptr;
}

Json FileLocation(const std::string& path) {
  const Json start = {{"line", 0}, {"character", 0}};
  return {{"uri", UriOfPath(path)}, {"range", {{"start", start}, {"end", start}}}};
}

}  // namespace

Json AnswerDefinition(RequestScope& scope, const Json& params) {
  DocumentInProject document;
  const std::optional<ProcedureTarget> target = TargetOfRequest(scope, params, document);
  if (document.File < 0) return nullptr;
  const int32_t line = static_cast<int32_t>(PositionOf(params.at("position")).Line) + 1;
  if (const IncludeSite* site = IncludeOnLine(document.Served->State, document.File, line)) {
    return IsRegularFile(site->Path) ? Json::array({FileLocation(site->Path)}) : Json(nullptr);
  }
  if (!target) return nullptr;
  ProjectLines lines(document.Served->State, scope.Encoding);
  Json locations = Json::array();
  for (const int32_t head : target->Heads) {
    locations.push_back(HeadLocation(lines, document.Served->State.Procedures[head]));
  }
  return locations;
}

Json AnswerDeclaration(RequestScope& scope, const Json& params) {
  DocumentInProject document;
  const std::optional<ProcedureTarget> target = TargetOfRequest(scope, params, document);
  if (!target) return nullptr;
  ProjectLines lines(document.Served->State, scope.Encoding);
  Json locations = Json::array();
  for (const int32_t head : target->Heads) {
    VisitCallRows(scope, *document.Served, head, [&](const ResultList&, int32_t, RowSpot spot, bool declare) {
      if (declare) locations.push_back(lines.Location(spot.File, spot.Line, target->Name.Bare));
    });
  }
  return locations;
}

Json AnswerReferences(RequestScope& scope, const Json& params) {
  DocumentInProject document;
  const std::optional<ProcedureTarget> target = TargetOfRequest(scope, params, document);
  if (!target) return nullptr;
  const bool with_declarations = params.contains("context") &&
                                 params["context"].value("includeDeclaration", false);
  const Project& project = document.Served->State;
  ProjectLines lines(project, scope.Encoding);
  Json locations = Json::array();
  for (const int32_t head : target->Heads) {
    if (with_declarations) locations.push_back(HeadLocation(lines, project.Procedures[head]));
    VisitCallRows(scope, *document.Served, head, [&](const ResultList&, int32_t, RowSpot spot, bool declare) {
      if (!declare || with_declarations) locations.push_back(lines.Location(spot.File, spot.Line, target->Name.Bare));
    });
  }
  return locations;
}

Json AnswerDocumentLinks(RequestScope& scope, const Json& params) {
  const DocumentInProject document = ProjectDocument(scope, params);
  Json links = Json::array();
  if (document.File < 0) return links;
  ProjectLines lines(document.Served->State, scope.Encoding);
  for (const IncludeSite& site : document.Served->State.SourceFiles[document.File].Includes) {
    if (!IsRegularFile(site.Path)) continue;
    links.push_back({{"range", lines.NameRange(document.File, site.Line, "")},
                     {"target", UriOfPath(site.Path)}});
  }
  return links;
}
