// Calls of one procedure. The project's lines are those kept from the last listing while
// no file changed, else read once into memory; only the lines that can hold a call of the
// name or change the enclosing procedure are prepared.
#include "listings/procedure_calls.h"

#include <cstdlib>
#include <utility>

#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/check_lines.h"
#include "listings/kept_text.h"
#include "listings/listing_rows.h"
#include "listings/project_text.h"
#include "source/line_classification.h"
#include "source/text_parts.h"

std::string SelectedRowText(const ResultList& list) {
  const int32_t row = list.SelectedRow();
  std::string text(list.CellText(row, ColumnLine));
  text += ' ';
  // A callee's label names its file after the head: the head is what counts.
  const std::string_view label = list.CellText(row, ColumnFunction);
  text += label.substr(0, label.find(CalleeFileMark));
  return text;
}

std::string ProcedureNameFromHead(std::string_view head) {
  const size_t blank = head.find(' ');
  if (blank == std::string_view::npos) return "";
  return std::string(WithoutLeading(head.substr(blank + 1), ' '));
}

namespace {

/// The index entry of the head on line `number` (a cell's text) of the selected row's file:
/// the file the row was read from, else the file of its "in File" name. nullptr for none.
const ProcedureEntry* HeadAt(const Project& project, const ResultList& list,
                             std::string_view number) {
  const ResultRow row = list.Row(list.SelectedRow());
  const int32_t line_number = std::atoi(std::string(WithoutLeading(number, ' ')).c_str());
  for (const ProcedureEntry& entry : project.Procedures) {
    if (entry.LineNumber != line_number) continue;
    const bool same_file = row.File != NoRowFile
                               ? entry.File == static_cast<int32_t>(row.File)
                               : entry.FileName == row.Cells[ColumnFile];
    if (same_file) return &entry;
  }
  return nullptr;
}

/// The index entry of the head that the selected row of `list` names: in the "Procedures"
/// list the row's own head, elsewhere the head of its "(in) Function" label; both stand in
/// the row's file. nullptr when no entry has that file and line.
const ProcedureEntry* SelectedHead(const Project& project, const ResultList& list) {
  const int32_t row = list.SelectedRow();
  const std::string_view label = WithoutLeading(list.CellText(row, ColumnFunction), ' ');
  const bool labelled = !label.empty() && label.front() >= '0' && label.front() <= '9';
  return HeadAt(project, list, labelled ? label : list.CellText(row, ColumnLine));
}

/// The choice of the head `head`, of module X when `entry` (its index entry, if known) is
/// X's, of the procedure without module when `entry` is one.
ProcedureChoice ChoiceOf(std::string_view head, const ProcedureEntry* entry) {
  ProcedureChoice choice{ProcedureNameFromHead(head)};
  if (entry != nullptr && !entry->Module.empty()) {
    choice.Name = entry->Module + "::" + choice.Name;
  } else if (entry != nullptr) {
    choice.WithoutModule = true;
  }
  return choice;
}

/// `cell` as a head when it is one, or the head that a Declare in it declares; empty for
/// any other text.
std::string NamedHead(std::string_view cell) {
  cell = WithoutLeading(WithoutLeading(cell, ' '), '\t');
  if (IsRealProcedureHead(cell)) return std::string(cell);
  if (!IsDeclareLine(cell)) return "";
  std::string head = "Procedure" + std::string(cell.substr(std::string_view("Declare").size()));
  return IsRealProcedureHead(head) ? head : "";
}

}  // namespace

std::optional<ProcedureChoice> RowProcedure(const Project& project, const ResultList& list) {
  const int32_t row = list.SelectedRow();
  const std::string head = NamedHead(list.CellText(row, ColumnCalls));
  if (head.empty()) return ProcedureToList(project, &list, "");
  // A head's index entry stands on its own line; a Declare's line is none.
  return ChoiceOf(head, HeadAt(project, list, list.CellText(row, ColumnLine)));
}

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
  return ChoiceOf(head, name.empty() ? SelectedHead(project, *current) : nullptr);
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
  size_t read = 0;
  const std::shared_ptr<const ProjectText> text = ReadKeptText(project, host, read);
  if (text == nullptr) return EndedAs(ListingEnd::Stopped);
  const std::shared_ptr<const ModuleScope> scope = ReadKeptScope(project, text);
  const auto [key, target] = KeyAndTarget(*scope, request.Text, request.WithoutModule);
  const bool stopped = ListCallRows(*text, *scope, key, target, list, host);
  return EndedAs(stopped ? ListingEnd::Stopped : ListingEnd::Finished);
}
