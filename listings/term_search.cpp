// Term search. It is one pass
// over the files, so it reads them line by line into one reused buffer rather than
// keeping them: on a large project, the fresh memory for all its lines costs more time
// than reading them. Only lines that hold the term are matched.
#include "listings/term_search.h"

#include <string>

#include "listings/folded_search.h"
#include "listings/listing_rows.h"
#include "listings/term_matching.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/source_reader.h"
#include "source/text_parts.h"

const std::string_view DeclarationKeywords[6] = {"Protected",  "Static",     "Shared",
                                                 "Procedure ", "Procedure.", "Global"};

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// MatchTerm blanks string literals and cuts the comment before it looks for the term,
// letters folded; blanking can make a match only for a term with a blank in it. So a
// term without blanks can match only a line that holds it.
bool MayMatch(std::string_view line, std::string_view term) {
  constexpr size_t npos = std::string_view::npos;
  return term.find(' ') != npos || FindFolded(line, term) != npos;
}

/// Where the search stands.
struct SearchState {
  EnclosingProcedure Enclosing{LabelStyle::Padded};
  FileBands Bands{true};
  bool Stopped = false;
  size_t File = 0;            ///< position of the file being searched in the list of files
  std::string_view FileName;  ///< file-name part of that file
  std::string Buffer;         ///< the line being read, reused for every line
};

/// Follows the enclosing procedure over one line and appends the line's row when the
/// term occurs in it, after the file's separator row when it is the file's first.
void SearchLine(ResultList& list, std::string_view term, int32_t line_number,
                std::string_view row_text, SearchState& state) {
  if (IsCommentLine(row_text)) return;
  state.Enclosing.Track(row_text, line_number);
  if (!MayMatch(row_text, term)) return;
  const TermMatch match = MatchTerm(row_text, term);
  if (match.Result == 0) return;
  const RowMarks band = state.Bands.RowOf(list, state.File);
  AddMatchRow(list, line_number, row_text, match, state.Enclosing.Inside(),
              state.Enclosing.CurrentLabel(), state.FileName, band);
}

/// Appends the rows of one open file's matching lines.
void SearchFile(SourceReader& reader, ResultList& list, ListingHost& host,
                std::string_view term, SearchState& state) {
  state.Enclosing.StartFile();
  for (int32_t line_number = 1; !reader.AtEnd();
           line_number = NextLineNumber(line_number)) {
    reader.ReadRawLineInto(state.Buffer);
    SearchLine(list, term, line_number, TermRowText(state.Buffer), state);
    if (host.PollStop()) {
      state.Stopped = true;
      return;
    }
  }
}

}  // namespace

std::string_view TermRowText(std::string_view raw_line) {
  return WithoutLeading(WithoutLeading(WithoutLeading(raw_line, '\t'), ' '), '\t');
}

bool IsDeclarationLine(bool in_procedure, std::string_view line) {
  if (!in_procedure) return StartsWith(line, "Global");
  for (const std::string_view keyword : DeclarationKeywords) {
    if (StartsWith(line, keyword)) return true;
  }
  return false;
}

void ListTermMatches(const Project& project, ResultList& list, ListingHost& host,
                     std::string_view term) {
  const StopEnabled stop(host);
  SearchState state;
  SourceReader reader;
  for (; state.File < project.SourceFiles.size() && !state.Stopped; ++state.File) {
    const std::string& path = project.SourceFiles[state.File].Path;
    if (!reader.Open(path)) continue;
    state.FileName = FileNamePart(path);
    SearchFile(reader, list, host, term, state);
    reader.Close();
  }
}
