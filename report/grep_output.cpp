#include "report/grep_output.h"

#include <string>

#include "listings/display_text.h"
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

/// The cell that says what a row is about: a source line, or a procedure head in the
/// "Procedures" list, whose "Calls" cell is empty.
const std::string& RowText(const ResultRow& row) {
  const std::string& calls = row.Cells[ColumnCalls];
  return calls.empty() ? row.Cells[ColumnFunction] : calls;
}

}  // namespace

void WriteListGrep(const ResultList& list, const SourceFileList& files, std::ostream& out) {
  std::string line;
  for (int32_t r = 0; r < list.RowCount(); ++r) {
    const RowLocation at = LocateRow(list, r, files);
    if (at.File == nullptr || at.Line <= 0) continue;
    StartLine(line, at.File->Path, at.Line);
    const std::string marks = MarkWords(list.Row(r).Marks);
    if (!marks.empty()) line += "[" + marks + "] ";
    AppendDisplayText(line, RowText(list.Row(r)));
    out << line << '\n';
  }
}

void WriteFilesGrep(const SourceFileList& files, std::ostream& out) {
  std::string line;
  for (const SourceFile& file : files) {
    StartLine(line, file.Path, 1);
    if (file.IncludedBy.empty()) {
      line += "main file";
    } else {
      line += "included by ";
      AppendDisplayText(line, file.IncludedBy);
      line += ", line " + std::to_string(file.IncludeLine);
    }
    out << line << '\n';
  }
}
