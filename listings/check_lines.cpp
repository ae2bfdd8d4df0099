// The checks' line reading. PureBasic names procedures in more places than their heads: a
// Prototype line, a Macro's parameter list, a Structure's or an Interface's fields, an
// Import block's declarations. None of them calls anything, and a call in a Macro body
// runs wherever the macro is used. A body runs from its head to its EndProcedure, the
// next head or the end of its file; a one-line procedure's body ends on its head line.
#include "listings/check_lines.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "source/text_parts.h"

namespace {

constexpr size_t npos = std::string::npos;

std::string_view Stripped(std::string_view line) {
  const size_t start = line.find_first_not_of(" \t");
  return start == npos ? std::string_view() : line.substr(start);
}

/// True when `text` starts with the word `keyword`: no name character follows it.
bool StartsWithWord(std::string_view text, std::string_view keyword) {
  return text.substr(0, keyword.size()) == keyword &&
         (text.size() == keyword.size() || !IsIdentifierChar(text[keyword.size()]));
}

/// True when a statement after a ":" of `line` (outside strings, before the comment)
/// starts with the word `keyword`, as in "Procedure A() : EndProcedure".
bool HoldsStatement(std::string_view line, std::string_view keyword) {
  bool in_string = false;
  for (size_t at = 0; at < line.size(); ++at) {
    if (line[at] == '"') in_string = !in_string;
    if (in_string) continue;
    if (line[at] == ';') return false;
    if (line[at] == ':' && StartsWithWord(Stripped(line.substr(at + 1)), keyword)) return true;
  }
  return false;
}

/// A block whose lines are no code of the program where they stand.
struct BlockKind {
  std::string_view Start;
  std::string_view End;
  CheckLine Inside;
};

constexpr std::array<BlockKind, 5> kBlocks = {{
    {"Macro", "EndMacro", CheckLine::MacroBody},
    {"Structure", "EndStructure", CheckLine::NoCall},
    {"Interface", "EndInterface", CheckLine::NoCall},
    {"Import", "EndImport", CheckLine::NoCall},
    {"ImportC", "EndImport", CheckLine::NoCall},
}};

/// Reads the lines of one file in order: the open block and the open body.
class FileLines {
 public:
  explicit FileLines(std::vector<size_t>& heads, std::vector<size_t>& body_ends)
      : heads_(heads), body_ends_(body_ends) {}

  /// The kind of the line `id` whose text, less leading blanks and tabs, is `line`.
  CheckLine Take(size_t id, std::string_view line) {
    if (block_ != nullptr) return InBlock(line);
    // Every keyword looked for starts with one of these letters: most lines need no test.
    const char first = line.empty() ? '\0' : line[0];
    if (first == 'P' || first == 'M' || first == 'S' || first == 'I') {
      if (const std::optional<CheckLine> kind = TakeStatement(id, line)) return *kind;
    }
    if (open_ && line.find("EndProcedure") != std::string_view::npos) {
      if (StartsWithWord(line, "EndProcedure")) CloseBody(id);
      else if (HoldsStatement(line, "EndProcedure")) CloseBody(id + 1);
    }
    return CheckLine::Code;
  }

  /// Ends the open body, if any, at `end` (one past its last line).
  void CloseBody(size_t end) {
    if (open_) body_ends_.back() = end;
    open_ = false;
  }

 private:
  /// The kind of a line that starts a block, a body or a prototype; none for another.
  std::optional<CheckLine> TakeStatement(size_t id, std::string_view line) {
    if (StartsWithWord(line, "Prototype") || StartsWithWord(line, "PrototypeC")) {
      return CheckLine::NoCall;
    }
    for (const BlockKind& block : kBlocks) {
      if (!StartsWithWord(line, block.Start)) continue;
      if (!HoldsStatement(line, block.End)) block_ = &block;
      return CheckLine::NoCall;
    }
    if (!IsRealProcedureHead(line)) return std::nullopt;
    OpenBody(id, HoldsStatement(line, "EndProcedure"));
    return CheckLine::Head;
  }

  CheckLine InBlock(std::string_view line) {
    if (!StartsWithWord(line, block_->End)) return block_->Inside;
    block_ = nullptr;
    return CheckLine::NoCall;
  }

  void OpenBody(size_t head, bool one_line) {
    CloseBody(head);
    heads_.push_back(head);
    body_ends_.push_back(head + 1);
    open_ = !one_line;
  }

  std::vector<size_t>& heads_;
  std::vector<size_t>& body_ends_;
  const BlockKind* block_ = nullptr;
  bool open_ = false;
};

}  // namespace

bool IsRealProcedureHead(std::string_view line) {
  line = Stripped(line);
  size_t at = 0;
  for (const std::string_view keyword : {"ProcedureCDLL", "ProcedureDLL", "ProcedureC", "Procedure"}) {
    if (line.substr(0, keyword.size()) == keyword) {
      at = keyword.size();
      break;
    }
  }
  if (at == 0) return false;
  const auto skip = [&](auto is) {
    const size_t from = at;
    while (at < line.size() && is(line[at])) ++at;
    return at > from;
  };
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (at < line.size() && line[at] == '.' && (++at, !skip(IsIdentifierChar))) return false;
  if (!skip(blank) || !skip(IsIdentifierChar)) return false;
  skip(blank);
  return at < line.size() && line[at] == '(';
}

ListingEnd CheckLines::Read(const ProjectText& text, ListingHost& host) {
  first_line_ = 0;
  kinds_.assign(text.LineCount(), CheckLine::Code);
  heads_.clear();
  body_ends_.clear();
  for (size_t file = 0; file < text.Files().size(); ++file) {
    if (TakeFile(text, file, text.Files()[file].FirstLine, host) == ListingEnd::Stopped) {
      return ListingEnd::Stopped;
    }
  }
  return ListingEnd::Finished;
}

ListingEnd CheckLines::ReadFile(const ProjectText& text, size_t file, ListingHost& host) {
  first_line_ = text.Files()[file].FirstLine;
  kinds_.assign(text.Files()[file].LineCount, CheckLine::Code);
  heads_.clear();
  body_ends_.clear();
  return TakeFile(text, file, 0, host);
}

ListingEnd CheckLines::TakeFile(const ProjectText& text, size_t file, size_t at,
                                ListingHost& host) {
  const ProjectFile& source = text.Files()[file];
  FileLines lines(heads_, body_ends_);
  const size_t end = source.FirstLine + source.LineCount;
  for (size_t line = source.FirstLine; line < end; ++line, ++at) {
    kinds_[at] = lines.Take(line, Stripped(text.SourceLine(line)));
    if (host.PollStop()) return ListingEnd::Stopped;
  }
  lines.CloseBody(end);
  return ListingEnd::Finished;
}

size_t CheckLines::BodyHead(size_t line) const {
  const auto after = std::upper_bound(heads_.begin(), heads_.end(), line);
  if (after == heads_.begin()) return npos;
  const size_t head = static_cast<size_t>(after - heads_.begin()) - 1;
  return heads_[head] < line && line < body_ends_[head] ? heads_[head] : npos;
}

size_t CheckLines::BodyEnd(size_t head) const {
  const auto found = std::lower_bound(heads_.begin(), heads_.end(), head);
  if (found == heads_.end() || *found != head) return head + 1;
  return body_ends_[static_cast<size_t>(found - heads_.begin())];
}
