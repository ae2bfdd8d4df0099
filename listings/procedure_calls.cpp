// Calls of one procedure. Each run opens a new "Proc: " list in the history; the shell
// shows whichever list is current afterwards.
#include "listings/procedure_calls.h"

#include <algorithm>

#include "listings/call_matching.h"
#include "listings/row_colours.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/source_reader.h"

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

/// Appends the row of one call and gives it its colours.
void AddCallRow(ResultList& list, int32_t line_number, const std::string& line, int found,
                std::string_view label, std::string_view file_name, bool band) {
  list.AddResultRow(std::to_string(line_number) + "\n" + line);
  const int32_t row = list.RowCount() - 1;
  list.SetCellText(row, ColumnFunction, label);
  list.SetCellText(row, ColumnFile, file_name);
  list.SetRowBackground(row, band ? BandSetBackground : BandClearBackground);
  if (found < 0) list.SetCellTextColour(row, ColumnCalls, MarkRed);
}

}  // namespace

int32_t ListProcedureCalls(const Project& project, ListHistory& history, ListingHost& host,
                           std::string_view name) {
  host.SetStopEnabled(true);
  ResultList& list = history.OpenResultList("Proc: ", name);
  const std::string key = CallKeyFromName(name);
  EnclosingProcedure enclosing(LabelStyle::Padded);
  bool band = false;
  bool stopped = false;
  SourceReader reader;
  for (const SourceFile& file : project.SourceFiles) {
    band = !band;
    enclosing.StartFile();
    int32_t hits = 0;
    if (reader.Open(file.Path)) {
      const std::string_view file_name = FileNamePart(file.Path);
      for (int32_t line_number = 1; !reader.AtEnd(); ++line_number) {
        const std::string line = NormalizeCallLine(ReadSourceLine(reader), key);
        if (!IsCommentLine(line) && !enclosing.Track(line, line_number)) {
          const int found = FindCall(line, key);
          if (found != 0) {
            if (hits == 0) list.AddResultRow("");  // separator before the file's first call
            AddCallRow(list, line_number, line, found, enclosing.CurrentLabel(), file_name, band);
            ++hits;
          }
        }
        if (host.PollStop()) {
          stopped = true;
          break;
        }
      }
      reader.Close();
    }
    if (stopped) break;
    if (hits == 0) band = !band;  // only files with rows advance the alternation
  }
  host.SetStopEnabled(false);
  return stopped ? 0 : list.RowCount();
}
