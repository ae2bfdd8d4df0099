#include "listings/testing/reference_listings.h"

#include <algorithm>
#include <string>

#include "listings/call_matching.h"
#include "listings/declares.h"
#include "listings/listing_rows.h"
#include "listings/row_colours.h"
#include "listings/term_matching.h"
#include "listings/term_search.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/source_reader.h"

bool ReferenceListAllProcedureCalls(Project& project, ResultList& list, ListingHost& host) {
  host.SetStopEnabled(true);
  project.Candidates.clear();
  // The inside flag lives for the whole run: a file that ends inside a procedure body
  // leaves it set for the next file and for the next procedure.
  EnclosingProcedure enclosing(LabelStyle::Bare);
  bool stopped = false;
  SourceReader reader;
  for (const ProcedureEntry& entry : project.Procedures) {
    ProcedureTally tally;
    AddProcedureRow(list, entry);
    const std::string key = CallKeyFromHead(entry.HeadText);
    for (const SourceFile& file : project.SourceFiles) {
      enclosing.StartFile();
      if (!reader.Open(file.Path)) continue;
      const std::string_view file_name = FileNamePart(file.Path);
      for (int32_t line_number = 1; !reader.AtEnd();
           line_number = NextLineNumber(line_number)) {
        const std::string line = NormalizeCallLine(ReadSourceLine(reader), key);
        if (!IsCommentLine(line) && !enclosing.Track(line, line_number)) {
          const int found = FindCall(line, key);
          if (found != 0) {
            AddCallRow(list, line_number, line, found, enclosing.CurrentLabel(), file_name);
            ++tally.Calls;
            // Line numbers are compared as they are, whichever files they belong to.
            if (line_number < entry.LineNumber) tally.CalledAboveHead = true;
          }
        }
        if (host.PollStop()) {
          stopped = true;
          break;
        }
      }
      reader.Close();
      if (stopped) break;
    }
    if (stopped) break;  // the stopped procedure keeps no count, marks or closing row
    FinishProcedure(project, list, entry, tally);
  }
  host.SetStopEnabled(false);
  BuildDeclares(project.Candidates, host);
  return stopped;
}

int32_t ReferenceListProcedureCalls(const Project& project, ListHistory& history,
                                    ListingHost& host, std::string_view name) {
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
      for (int32_t line_number = 1; !reader.AtEnd();
           line_number = NextLineNumber(line_number)) {
        const std::string line = NormalizeCallLine(ReadSourceLine(reader), key);
        if (!IsCommentLine(line) && !enclosing.Track(line, line_number)) {
          const int found = FindCall(line, key);
          if (found != 0) {
            if (hits == 0) list.AddResultRow("");  // separator before the file's first call
            const int32_t row = AddCallRow(list, line_number, line, found,
                                           enclosing.CurrentLabel(), file_name);
            list.SetRowBackground(row, band ? BandSetBackground : BandClearBackground);
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

namespace {

/// `text` without a leading run of `c`.
std::string_view TrimLeading(std::string_view text, char c) {
  text.remove_prefix(std::min(text.find_first_not_of(c), text.size()));
  return text;
}

/// The row text of a line: leading tabs, then blanks, then tabs removed, in that order.
std::string_view TrimRowText(std::string_view line) {
  return TrimLeading(TrimLeading(TrimLeading(line, '\t'), ' '), '\t');
}

}  // namespace

void ReferenceListTermMatches(const Project& project, ResultList& list, ListingHost& host,
                              std::string_view term) {
  host.SetStopEnabled(true);
  list.Kind = "Terms: ";
  list.Caption = "Terms: " + std::string(term) + "...";
  EnclosingProcedure enclosing(LabelStyle::Padded);
  bool band = false;
  SourceReader reader;
  for (const SourceFile& file : project.SourceFiles) {
    band = !band;
    enclosing.StartFile();
    int32_t rows = 0;
    if (reader.Open(file.Path)) {
      const std::string_view file_name = FileNamePart(file.Path);
      for (int32_t line_number = 1; !reader.AtEnd();
           line_number = NextLineNumber(line_number)) {
        // The raw line, since the row keeps a blank that follows a leading tab.
        const std::string raw = reader.ReadRawLine();
        const std::string_view line = TrimRowText(raw);
        if (!IsCommentLine(line)) {
          enclosing.Track(line, line_number);
          const TermMatch match = MatchTerm(line, term);
          if (match.Result != 0) {
            if (rows == 0) list.AddResultRow("");  // separator before the file's first row
            AddMatchRow(list, line_number, line, match, enclosing.Inside(), enclosing.CurrentLabel(),
                        file_name, band);
            ++rows;
          }
        }
        if (host.PollStop()) {
          reader.Close();
          host.SetStopEnabled(false);
          return;
        }
      }
      reader.Close();
    }
    if (rows == 0) band = !band;  // only files with rows advance the alternation
  }
  host.SetStopEnabled(false);
}
