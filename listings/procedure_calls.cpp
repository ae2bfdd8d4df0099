// Calls of one procedure. The files are read once into memory and only the lines that can
// hold the name or change the enclosing procedure are prepared.
#include "listings/procedure_calls.h"

#include <cstdlib>
#include <utility>

#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/listing_rows.h"
#include "listings/project_text.h"
#include "source/line_classification.h"
#include "source/text_parts.h"

std::string SelectedRowText(const ResultList& list) {
  const int32_t row = list.SelectedRow();
  std::string text(list.CellText(row, ColumnLine));
  text += ' ';
  text += list.CellText(row, ColumnFunction);
  return text;
}

std::string ProcedureNameFromHead(std::string_view head) {
  const size_t blank = head.find(' ');
  if (blank == std::string_view::npos) return "";
  return std::string(WithoutLeading(head.substr(blank + 1), ' '));
}

namespace {

/// The index entry of the head that the selected row of `list` names: in the "Procedures"
/// list the row's own head, elsewhere the head of its "(in) Function" label; both stand in
/// the row's file. nullptr when no entry has that file and line.
const ProcedureEntry* SelectedHead(const Project& project, const ResultList& list) {
  const int32_t row = list.SelectedRow();
  const std::string_view label = WithoutLeading(list.CellText(row, ColumnFunction), ' ');
  const bool labelled = !label.empty() && label.front() >= '0' && label.front() <= '9';
  const std::string number(labelled ? label : WithoutLeading(list.CellText(row, ColumnLine), ' '));
  const int32_t line_number = std::atoi(number.c_str());
  const std::string_view file_name = list.CellText(row, ColumnFile);
  for (const ProcedureEntry& entry : project.Procedures) {
    if (entry.LineNumber == line_number && entry.FileName == file_name) return &entry;
  }
  return nullptr;
}

}  // namespace

std::optional<ProcedureChoice> ProcedureToList(const Project& project, const ResultList* current,
                                               std::string_view name) {
  std::string text;
  if (!name.empty()) {
    text = "Procedure " + std::string(name);
  } else if (current != nullptr) {
    text = SelectedRowText(*current);
  }
  const size_t keyword = text.find("Procedure");
  if (keyword == std::string::npos) return std::nullopt;
  const std::string_view head = std::string_view(text).substr(keyword);
  if (!IsProcedureHead(head)) return std::nullopt;
  ProcedureChoice choice{ProcedureNameFromHead(head)};
  const ProcedureEntry* entry = name.empty() ? SelectedHead(project, *current) : nullptr;
  if (entry != nullptr && !entry->Module.empty()) {
    choice.Name = entry->Module + "::" + choice.Name;
  } else if (entry != nullptr) {
    choice.WithoutModule = true;
  }
  return choice;
}

namespace {

/// The key and the target of the calls a "Proc: " list for `name` shows.
std::pair<std::string, CallTarget> KeyAndTarget(const ModuleScope& scope, std::string_view name,
                                                bool without_module) {
  // Without modules the name is taken as it was always taken, "::" and all.
  if (!scope.Active()) return {CallKeyFromName(name), CallTarget()};
  const QualifiedName qualified = SplitQualifiedName(name);
  CallTarget target;
  if (qualified.Module) {
    target = {false, FoldedName(*qualified.Module)};
  } else if (without_module) {
    target = {false, ""};
  }
  return {CallKeyFromName(qualified.Name), target};
}

/// Appends a row per call of `key`, each file's rows after an empty separator row and in
/// the next band; returns true when the user stopped the run.
bool ListCallRows(const ProjectText& text, const ModuleScope& scope, std::string_view key,
                  const CallTarget& target, ResultList& list, ListingHost& host) {
  FileBands bands(true);
  return ScanForCalls(text, scope, key, target, LabelStyle::Padded, host, [&](const CallHit& hit) {
    const RowMarks band = bands.RowOf(list, hit.File);
    AddCallRow(list, hit.LineNumber, hit.Prepared, hit.Found, hit.Label,
               {text.Files()[hit.File].FileName, static_cast<uint32_t>(hit.File)},
               band | AmbiguityMark(hit.Ambiguous));
  });
}

}  // namespace

ListingResult ListProcedureCalls(Project& project, ResultList& list, ListingHost& host,
                                 const ListingRequest& request) {
  const StopEnabled stop(host);
  ProjectText text;
  if (text.Load(project.SourceFiles, project.Texts, host) == ListingEnd::Stopped) {
    return EndedAs(ListingEnd::Stopped);
  }
  const ModuleScope scope(text, project.Procedures);
  const auto [key, target] = KeyAndTarget(scope, request.Text, request.WithoutModule);
  const bool stopped = ListCallRows(text, scope, key, target, list, host);
  return EndedAs(stopped ? ListingEnd::Stopped : ListingEnd::Finished);
}
