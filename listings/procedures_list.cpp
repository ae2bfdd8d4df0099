// The "Procedures" list. Its notion of a head is wider than the shared head test: every
// line that begins with "Procedure" counts except ProcedureReturn, so ProcedureC,
// ProcedureDLL and ProcedureCDLL heads are listed too.
#include "listings/procedures_list.h"

#include <string>
#include <string_view>

#include "listings/row_colours.h"
#include "source/path_parts.h"
#include "source/source_reader.h"

namespace {

/// `line` before its first ";", all of it when there is none (string literals not looked at).
std::string_view CutBeforeComment(std::string_view line) { return line.substr(0, line.find(';')); }

/// True for a line that starts with "Procedure" not followed by "Ret".
bool IsListedHead(std::string_view line) {
  constexpr std::string_view Keyword = "Procedure";
  if (line.substr(0, Keyword.size()) != Keyword) return false;
  return line.substr(Keyword.size(), 3) != "Ret";
}

/// `number` right-aligned with blanks in 6 places.
std::string PaddedNumber(int32_t number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 6) digits.insert(0, 6 - digits.size(), ' ');
  return digits;
}

/// Appends the index entry and the row of one head.
void AddHead(Project& project, ResultList& list, const ProcedureEntry& entry, bool band) {
  project.Procedures.push_back(entry);
  list.AddResultRow(PaddedNumber(entry.LineNumber) + "\n\n\n" + entry.HeadText + "\n" +
                    entry.FileName);
  list.SetRowBackground(list.RowCount() - 1, band ? BandSetBackground : BandClearBackground);
}

}  // namespace

void ListProcedures(Project& project, ResultList& list, ListingHost& host) {
  host.SetStopEnabled(true);
  project.Procedures.clear();
  bool band = false;
  bool stopped = false;
  SourceReader reader;
  std::string buffer;
  for (const SourceFile& file : project.SourceFiles) {
    band = !band;
    int32_t rows = 0;
    if (reader.Open(file.Path)) {
      const std::string file_name(FileNamePart(file.Path));
      for (int32_t line_number = 1; !reader.AtEnd();
           line_number = NextLineNumber(line_number)) {
        const std::string_view line = ReadSourceLineInto(reader, buffer);
        const std::string_view head = CutBeforeComment(line);
        if (IsListedHead(head)) {
          AddHead(project, list, {std::string(head), file_name, line_number}, band);
          ++rows;
        }
        if (host.PollStop()) {
          stopped = true;
          break;
        }
      }
      reader.Close();
    }
    if (rows == 0) band = !band;  // only files with rows advance the alternation
    if (stopped) break;
  }
  host.SetStopEnabled(false);
}
