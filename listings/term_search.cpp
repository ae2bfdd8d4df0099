// Term search. It is one pass over the files, so a file that the run does not hold
// already is read into one reused buffer rather than kept: on a large project, fresh
// memory for all its bytes costs more time than reading them. Rows copy their lines from
// that buffer, and view them in the bytes of a file the run holds. Only lines that hold
// the term are matched.
#include "listings/term_search.h"

#include <string>

#include "listings/folded_search.h"
#include "listings/listing_rows.h"
#include "listings/term_matching.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/source_lines.h"
#include "source/source_reader.h"

namespace {

/// Where the search stands.
struct SearchState {
  EnclosingProcedure Enclosing{LabelStyle::Padded};
  FileBands Bands{true};
  bool Stopped = false;
  size_t File = 0;            ///< position of the file being searched in the list of files
  std::string_view FileName;  ///< file-name part of that file
  std::string Scratch;        ///< room for `MatchTerm`, reused line after line
};

/// Follows the enclosing procedure over one line and appends the line's row when the
/// term occurs in it, after the file's separator row when it is the file's first.
void SearchLine(ResultList& list, std::string_view term, int32_t line_number,
                std::string_view row_text, bool may_match, SearchState& state) {
  if (IsCommentLine(row_text)) return;
  state.Enclosing.Track(row_text, line_number);
  if (!may_match) return;
  const TermMatch match = MatchTerm(row_text, term, state.Scratch);
  if (match.Result == 0) return;
  const RowMarks band = state.Bands.RowOf(list, state.File);
  AddMatchRow(list, line_number, row_text, match, state.Enclosing.Inside(),
              state.Enclosing.CurrentLabel(), {state.FileName, static_cast<uint32_t>(state.File)},
              band);
}

/// Appends the rows of one file's matching lines.
void SearchFile(std::string_view bytes, ResultList& list, ListingHost& host,
                std::string_view term, SearchState& state) {
  state.Enclosing.StartFile();
  // MatchTerm blanks string literals and cuts the comment before it looks for the term,
  // letters folded; blanking can make a match only for a term with a blank in it. So a
  // term without blanks can match only a line that holds it.
  const bool blank_in_term = term.find(' ') != std::string_view::npos;
  auto holds_term = FoldedGate(bytes, term);
  int32_t line_number = 1;
  for (SourceLines lines(bytes); !lines.AtEnd(); line_number = NextLineNumber(line_number)) {
    const std::string_view row_text = TermRowText(lines.NextRaw());
    SearchLine(list, term, line_number, row_text, blank_in_term || holds_term.In(row_text), state);
    if (host.PollStop()) {
      state.Stopped = true;
      return;
    }
  }
}

}  // namespace

// Every line passes here: indices rather than three views of views.
std::string_view TermRowText(std::string_view raw_line) {
  size_t at = 0;
  for (const char leading : {'\t', ' ', '\t'}) {
    while (at < raw_line.size() && raw_line[at] == leading) ++at;
  }
  return std::string_view(raw_line.data() + at, raw_line.size() - at);
}

ListingResult ListTermMatches(Project& project, ResultList& list, ListingHost& host,
                              const ListingRequest& request) {
  const StopEnabled stop(host);
  SearchState state;
  std::string buffer;  // one pass: files not held already are read into one buffer
  for (; state.File < project.SourceFiles.size() && !state.Stopped; ++state.File) {
    const std::string& path = project.SourceFiles[state.File].Path;
    const std::string* bytes = project.Texts.HeldOrRead(path, buffer);
    if (bytes == nullptr) continue;
    // The rows view their lines in bytes that the project holds, as the list holds them too.
    if (bytes != &buffer) list.HoldBytes({project.Texts.HeldBytes(path)});
    state.FileName = FileNamePart(path);
    SearchFile(*bytes, list, host, request.Text, state);
  }
  return EndedAs(state.Stopped ? ListingEnd::Stopped : ListingEnd::Finished);
}
