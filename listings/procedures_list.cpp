// The "Procedures" list. Its notion of a head is wider than the shared head test: every
// line that begins with "Procedure" counts except ProcedureReturn, so ProcedureC,
// ProcedureDLL and ProcedureCDLL heads are listed too.
#include "listings/procedures_list.h"

#include <string>
#include <string_view>

#include "listings/listing_rows.h"
#include "source/path_parts.h"
#include "source/source_reader.h"
#include "source/text_parts.h"

namespace {

/// Appends the index entry and the row of one head with its file's band mark.
void AddHead(Project& project, ResultList& list, const ProcedureEntry& entry, RowMarks band) {
  project.Procedures.push_back(entry);
  list.AddResultRow(PaddedNumber(entry.LineNumber) + "\n\n\n" + entry.HeadText + "\n" +
                        entry.FileName,
                    band);
}

}  // namespace

std::string_view ListedHeadText(std::string_view line) {
  // The cut does not look at string literals.
  const std::string_view head = line.substr(0, line.find(';'));
  constexpr std::string_view Keyword = "Procedure";
  if (head.substr(0, Keyword.size()) != Keyword || head.substr(Keyword.size(), 3) == "Ret") {
    return {};
  }
  return head;
}

// The reader closes its file when it goes, also on a stop.
void ListProcedures(Project& project, ResultList& list, ListingHost& host) {
  const StopEnabled stop(host);
  project.Procedures.clear();
  FileBands bands(false);
  SourceReader reader;
  std::string buffer;
  for (size_t file = 0; file < project.SourceFiles.size(); ++file) {
    const std::string& path = project.SourceFiles[file].Path;
    if (!reader.Open(path)) continue;
    const std::string file_name(FileNamePart(path));
    for (int32_t line_number = 1; !reader.AtEnd(); line_number = NextLineNumber(line_number)) {
      const std::string_view head = ListedHeadText(ReadSourceLineInto(reader, buffer));
      if (!head.empty()) {
        const RowMarks band = bands.RowOf(list, file);
        AddHead(project, list, {std::string(head), file_name, line_number}, band);
      }
      if (host.PollStop()) return;
    }
    reader.Close();
  }
}
