#include "report/grep_output.h"

#include <string>

#include "frontend/display_text.h"
#include "listings/row_location.h"
#include "report/report_output.h"

namespace {

/// Starts `line` with "path:number: ".
void StartLine(std::string& line, const std::string& path, int32_t number) {
  line.assign(path);
  line += ':';
  line += std::to_string(number);
  line += ": ";
}

/// What a row is about: its "Calls" cell, a source line, or in the "Procedures" list the
/// head in its "(in) Function" cell; without the blanks that a line cut before its comment
/// keeps at its end.
std::string_view RowText(ListKind kind, const ResultRow& row) {
  const std::string_view text =
      row.Cells[kind == ListKind::Procedures ? ColumnFunction : ColumnCalls];
  return text.substr(0, text.find_last_not_of(" \t") + 1);
}

/// What the brackets before the text say: the row's marks in words, what a check found (its
/// "Count" cell) and, in the "Procedures" list, the module of a head (its "Calls" cell).
std::string Notes(ListKind kind, const ResultRow& row) {
  std::string notes = MarkWords(row.Marks);
  // A reason that a mark says already ("never called") is not said twice.
  const auto add = [&notes](std::string_view note) {
    if (note.empty() || notes == note) return;
    if (!notes.empty()) notes += ", ";
    notes += note;
  };
  if (row.Marks.Has(RowMark::Finding)) add(row.Cells[ColumnCount]);
  if (kind == ListKind::Procedures) add(row.Cells[ColumnCalls]);
  return notes;
}

}  // namespace

void WriteListGrep(const ResultList& list, const SourceFileList& files, std::ostream& out) {
  std::string line;
  for (int32_t r = 0; r < list.RowCount(); ++r) {
    const RowLocation at = LocateRow(list, r, files);
    if (at.File == nullptr || at.Line <= 0) continue;
    StartLine(line, at.File->Path, at.Line);
    const ResultRow row = list.Row(r);
    const std::string notes = Notes(list.Kind(), row);
    if (!notes.empty()) {
      line += '[';
      AppendDisplayText(line, notes);
      line += "] ";
    }
    AppendDisplayText(line, RowText(list.Kind(), row));
    out << line << '\n';
  }
}

void WriteFilesGrep(const SourceFileList& files, const std::vector<ProjectFile>& read,
                    std::ostream& out) {
  std::string line;
  for (size_t f = 0; f < files.size(); ++f) {
    const SourceFile& file = files[f];
    StartLine(line, file.Path, 1);
    if (file.IncludedBy.empty()) {
      line += "main file";
    } else {
      line += "included by ";
      AppendDisplayText(line, file.IncludedBy);
      line += ", line " + std::to_string(file.IncludeLine);
    }
    const std::string note = FileNote(file, read[f]);
    if (!note.empty()) {
      line += " (";
      AppendDisplayText(line, note);
      line += ')';
    }
    out << line << '\n';
  }
}
