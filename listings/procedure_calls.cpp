// Calls of one procedure. Each run opens a new "Proc: " list in the history; the shell
// shows whichever list is current afterwards. The files are read once into memory and
// only the lines that can hold the name or change the enclosing procedure are prepared.
#include "listings/procedure_calls.h"

#include <algorithm>

#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/listing_rows.h"
#include "listings/project_text.h"
#include "listings/row_colours.h"
#include "source/line_classification.h"

std::string SelectedRowText(const ResultList& list) {
  const int32_t row = list.SelectedRow();
  return list.CellText(row, ColumnLine) + " " + list.CellText(row, ColumnFunction);
}

std::string ProcedureNameFromHead(std::string_view head) {
  const size_t blank = head.find(' ');
  if (blank == std::string_view::npos) return "";
  std::string_view name = head.substr(blank + 1);
  name.remove_prefix(std::min(name.find_first_not_of(' '), name.size()));
  return std::string(name);
}

int32_t ShowProcedureCalls(const Project& project, ListHistory& history, ListingHost& host,
                           std::string_view name) {
  std::string text;
  if (!name.empty()) {
    text = "Procedure " + std::string(name);
  } else if (const ResultList* current = history.Current()) {
    text = SelectedRowText(*current);
  }
  const size_t keyword = text.find("Procedure");
  if (keyword == std::string::npos) return 0;
  const std::string_view head = std::string_view(text).substr(keyword);
  if (!IsProcedureHead(head)) return 0;
  return ListProcedureCalls(project, history, host, ProcedureNameFromHead(head));
}

namespace {

/// Appends a row per call of `key`, each file's rows after an empty separator row and in
/// the next band colour; returns true when the user stopped the run.
bool ListCallRows(const ProjectText& text, std::string_view key, ResultList& list,
                  ListingHost& host) {
  bool band = false;  // only files with rows advance the alternation
  size_t last_file = std::string::npos;
  return ScanForCalls(text, key, LabelStyle::Padded, host, [&](const CallHit& hit) {
    if (hit.File != last_file) {
      list.AddResultRow("");  // separator before the file's first call
      band = !band;
      last_file = hit.File;
    }
    const int32_t row = AddCallRow(list, hit.LineNumber, hit.Prepared, hit.Found, hit.Label,
                                   text.Files()[hit.File].FileName);
    list.SetRowBackground(row, band ? BandSetBackground : BandClearBackground);
  });
}

}  // namespace

int32_t ListProcedureCalls(const Project& project, ListHistory& history, ListingHost& host,
                           std::string_view name) {
  host.SetStopEnabled(true);
  ResultList& list = history.OpenResultList("Proc: ", name);
  ProjectText text;
  const bool stopped = !text.Load(project.SourceFiles, host) ||
                       ListCallRows(text, CallKeyFromName(name), list, host);
  host.SetStopEnabled(false);
  return stopped ? 0 : list.RowCount();
}
