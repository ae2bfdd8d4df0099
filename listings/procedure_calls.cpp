// Calls of one procedure. The files are read once into memory and only the lines that can
// hold the name or change the enclosing procedure are prepared.
#include "listings/procedure_calls.h"

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

std::optional<std::string> ProcedureToList(const ResultList* current, std::string_view name) {
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
  return ProcedureNameFromHead(head);
}

namespace {

/// Appends a row per call of `key`, each file's rows after an empty separator row and in
/// the next band; returns true when the user stopped the run.
bool ListCallRows(const ProjectText& text, std::string_view key, ResultList& list,
                  ListingHost& host) {
  FileBands bands(true);
  return ScanForCalls(text, key, LabelStyle::Padded, host, [&](const CallHit& hit) {
    const RowMarks band = bands.RowOf(list, hit.File);
    AddCallRow(list, hit.LineNumber, hit.Prepared, hit.Found, hit.Label,
               text.Files()[hit.File].FileName, band);
  });
}

}  // namespace

int32_t ListProcedureCalls(const Project& project, ResultList& list, ListingHost& host,
                           std::string_view name) {
  const StopEnabled stop(host);
  ProjectText text;
  const bool stopped = !text.Load(project.SourceFiles, host) ||
                       ListCallRows(text, CallKeyFromName(name), list, host);
  return stopped ? 0 : list.RowCount();
}
