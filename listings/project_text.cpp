#include "listings/project_text.h"

#include <algorithm>

#include "listings/call_matching.h"
#include "source/line_classification.h"
#include "source/module_lines.h"
#include "source/path_parts.h"
#include "source/source_lines.h"
#include "source/text_parts.h"

namespace {

// The first character of `line` after leading tabs, then blanks, as the call preparation
// cuts them; '\0' for none.
char StatementStart(std::string_view line) {
  const std::string_view start = WithoutLeading(WithoutLeading(line, '\t'), ' ');
  return start.empty() ? '\0' : start.front();
}

// False for a line that is no comment, head, end, Declare or module statement whatever
// follows, told by its `StatementStart`: most lines of a project, which then need no look
// for a comment.
bool MayBeStatement(char start) {
  switch (start) {
    case ';': case '\t': case 'P': case 'E': case 'M': case 'D': case 'U': return true;
    default: return false;
  }
}

}  // namespace

LineKind ClassifyLine(std::string_view line) {
  if (IsCommentLine(line)) return LineKind::Comment;
  if (IsProcedureHead(line)) return LineKind::Head;
  if (IsProcedureEnd(line)) return LineKind::End;
  return LineKind::Other;
}

ListingEnd ProjectText::Load(const SourceFileList& files, const SourceTexts& texts,
                       ListingHost& host) {
  files_.clear();
  chunks_.clear();
  line_count_ = 0;
  held_.clear();
  module_lines_.clear();
  for (const SourceFile& file : files) {
    ProjectFile& read = files_.emplace_back();
    read.FileName = std::string(FileNamePart(file.Path));
    read.FirstLine = line_count_;
    std::shared_ptr<const std::string> bytes = texts.Bytes(file.Path);
    read.Opened = bytes != nullptr;
    if (!read.Opened) continue;
    held_.push_back(std::move(bytes));
    read.Bytes = *held_.back();
    for (SourceLines lines(read.Bytes); !lines.AtEnd();) {
      AddLine(lines.NextRaw());
      ++read.LineCount;
      if (host.PollStop()) return ListingEnd::Stopped;
    }
  }
  return ListingEnd::Finished;
}

// Keeps the line as `ReadSourceLine` gives it, without its leading blanks, so that looking
// a line up later costs no scan.
void ProjectText::AddLine(std::string_view raw) {
  const std::string_view kept = SourceLineOf(raw);
  const char start = StatementStart(kept);
  if (!MayBeStatement(start)) {
    Push(kept, LineKind::Other);
    return;
  }
  const std::string_view prepared = PrepareCallLine(kept);
  // A Declare's keyword starts the line after its blanks and tabs; a tab left there after
  // the blanks may still hide one.
  Push(kept, ClassifyLine(prepared), true, (start == 'D' || start == '\t') && IsDeclareLine(kept));
  // A statement's keyword and name stand before any comment, so the prepared line tells.
  if (ClassifyModuleLine(prepared).Statement != ModuleStatement::None) {
    module_lines_.push_back(line_count_ - 1);
  }
}

void ProjectText::Push(std::string_view text, LineKind kind, bool keyword_line, bool declare) {
  if ((line_count_ & (kChunkLines - 1)) == 0) {
    // The first chunk grows as a vector does, so that a small project's lines take little
    // memory; a project that filled it is large, and its further chunks are whole at once.
    chunks_.emplace_back();
    if (chunks_.size() > 1) chunks_.back().reserve(kChunkLines);
  }
  // A line of 4 GiB or more is kept cut there: no source line comes near it.
  const auto length = static_cast<uint32_t>(std::min<size_t>(text.size(), UINT32_MAX));
  chunks_.back().push_back({text.data(), length, kind, declare, keyword_line});
  ++line_count_;
}

size_t ProjectText::FileOf(size_t line) const {
  // The last file that starts at or before the line; files without lines that start at
  // the same id come before the one that holds it.
  const auto after = std::upper_bound(
      files_.begin(), files_.end(), line,
      [](size_t id, const ProjectFile& file) { return id < file.FirstLine; });
  return static_cast<size_t>(after - files_.begin()) - 1;
}

int32_t ProjectText::LineNumber(size_t line) const {
  return static_cast<int32_t>(line - files_[FileOf(line)].FirstLine + 1);
}

