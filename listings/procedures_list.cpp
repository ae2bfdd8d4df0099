// The "Procedures" list. Its notion of a head is wider than the shared head test: every
// line that begins with "Procedure" counts except ProcedureReturn, so ProcedureC,
// ProcedureDLL and ProcedureCDLL heads are listed too.
#include "listings/procedures_list.h"

#include <string>
#include <string_view>

#include "listings/address_taken.h"
#include "listings/kept_text.h"
#include "listings/listing_rows.h"
#include "source/module_lines.h"
#include "source/source_lines.h"
#include "source/text_parts.h"

namespace {

/// Appends the index entry and the row of one head with its file's band mark; a module
/// procedure's row names its module in the otherwise empty "Calls" column.
void AddHead(Project& project, ResultList& list, const ProcedureEntry& entry, RowMarks band) {
  project.Procedures.push_back(entry);
  const std::string module = entry.Module.empty() ? "" : "Module " + entry.Module;
  list.AddResultRow(PaddedNumber(entry.LineNumber) + "\n" + module + "\n\n" + entry.HeadText +
                        "\n" + entry.FileName,
                    band, RowFileIndex(entry));
}

}  // namespace

std::string_view ListedHeadText(std::string_view line) {
  constexpr std::string_view Keyword = "Procedure";
  if (line.substr(0, Keyword.size()) != Keyword) return {};  // most lines: no cut needed
  // The cut does not look at string literals.
  const std::string_view head = line.substr(0, line.find(';'));
  if (head.substr(0, Keyword.size()) != Keyword || head.substr(Keyword.size(), 3) == "Ret") {
    return {};
  }
  return head;
}

namespace {

// Reads the heads of the lines of `text` into the index and the list, and the names whose
// address is taken into `addressed`; polls once per line when `poll` is set.
ListingEnd ReadHeads(Project& project, const ProjectText& text, ResultList& list, ListingHost& host,
                     bool poll, FoldedNames& addressed) {
  FileBands bands(false);
  ModuleTracker modules;
  for (size_t file = 0; file < text.Files().size(); ++file) {
    const ProjectFile& read = text.Files()[file];
    modules.StartFile();
    auto addresses = ExactGate(read.Bytes, "@");
    for (size_t line = read.FirstLine; line < read.FirstLine + read.LineCount; ++line) {
      const std::string_view kept = text.SourceLine(line);
      if (text.MayBeKeywordLine(line)) {
        modules.Track(kept);
        const std::string_view head = ListedHeadText(kept);
        if (!head.empty()) {
          const RowMarks band = bands.RowOf(list, file);
          AddHead(project, list,
                  {std::string(head), read.FileName, text.LineNumber(line), false,
                   modules.Module(), static_cast<int32_t>(file)},
                  band);
        }
      }
      if (addresses.In(kept)) CollectAddressTaken(kept, addressed);
      if (poll && host.PollStop()) return ListingEnd::Stopped;
    }
  }
  return ListingEnd::Finished;
}

// An address may be taken above the head, so callbacks are known only at the end. Each
// head wrote one row, from `first_row` on.
void MarkCallbacks(Project& project, ResultList& list, int32_t first_row,
                   const FoldedNames& addressed) {
  if (addressed.empty()) return;
  for (size_t entry = 0; entry < project.Procedures.size(); ++entry) {
    ProcedureEntry& procedure = project.Procedures[entry];
    procedure.AddressTaken = addressed.count(FoldedProcedureName(procedure.HeadText)) > 0;
    if (procedure.AddressTaken) list.AddMarks(first_row + static_cast<int32_t>(entry), RowMark::Callback);
  }
}

}  // namespace

ListingEnd ListProcedures(Project& project, ResultList& list, ListingHost& host) {
  const StopEnabled stop(host);
  project.Procedures.clear();
  FoldedNames addressed;
  const int32_t first_row = list.RowCount();
  // The text is read once per take-up and kept for the listings that follow. Reading it
  // polls once per line, and so does a walk of the kept text; a stopped reading leaves
  // the heads of the lines read until then.
  const TextRead text = ReadProjectText(project, host);
  ListingEnd end = ReadHeads(project, *text.Text, list, host, !text.ReadNow, addressed);
  if (text.End == ListingEnd::Stopped) end = ListingEnd::Stopped;
  MarkCallbacks(project, list, first_row, addressed);
  return end;
}
