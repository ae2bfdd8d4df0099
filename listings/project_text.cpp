#include "listings/project_text.h"

#include <algorithm>
#include <cstring>

#include "listings/call_matching.h"
#include "source/line_classification.h"
#include "source/module_lines.h"
#include "source/path_parts.h"
#include "source/source_reader.h"
#include "source/text_parts.h"

namespace {

constexpr size_t kTextBlock = 1 << 20;

}  // namespace

LineKind ClassifyLine(std::string_view line) {
  if (IsCommentLine(line)) return LineKind::Comment;
  if (IsProcedureHead(line)) return LineKind::Head;
  if (IsProcedureEnd(line)) return LineKind::End;
  return LineKind::Other;
}

bool ProjectText::Load(const SourceFileList& files, ListingHost& host) {
  files_.clear();
  lines_.clear();
  blocks_.clear();
  long_lines_.clear();
  block_left_ = 0;
  has_module_statements_ = false;
  SourceReader reader;
  std::string spill;  // one buffer for the lines not viewed in the reader's block
  for (const SourceFile& file : files) {
    ProjectFile& read = files_.emplace_back();
    read.FileName = std::string(FileNamePart(file.Path));
    read.FirstLine = lines_.size();
    read.Opened = reader.Open(file.Path);
    while (read.Opened && !reader.AtEnd()) {
      AddLine(reader.ReadRawLineView(spill), spill);
      ++read.LineCount;
      if (host.PollStop()) return false;
    }
    reader.Close();
  }
  return true;
}

void ProjectText::AddLine(std::string_view raw, std::string& spill) {
  const std::string_view kept = Keep(raw, spill);
  const std::string_view prepared = PrepareCallLine(kept);
  lines_.push_back({kept.data(), kept.size(), ClassifyLine(prepared)});
  // A statement's keyword and name stand before any comment, so the prepared line tells.
  if (!has_module_statements_ && ClassifyModuleLine(prepared).Statement != ModuleStatement::None) {
    has_module_statements_ = true;
  }
}

// Keeps the line as `ReadSourceLine` gives it, without its leading blanks, so that looking
// a line up later costs no scan.
std::string_view ProjectText::Keep(std::string_view raw, std::string& spill) {
  if (raw.size() > kTextBlock) {
    // A line this long was gathered in `spill`: moved in whole, not copied, it costs its
    // size once (`spill` is left empty and grows afresh for the next such line).
    long_lines_.push_back(raw.data() == spill.data() ? std::move(spill) : std::string(raw));
    spill = std::string();
    return WithoutLeading(long_lines_.back(), ' ');
  }
  raw = WithoutLeading(raw, ' ');
  if (raw.empty()) return std::string_view();
  if (raw.size() > block_left_) {
    blocks_.emplace_back(new char[kTextBlock]);
    block_next_ = blocks_.back().get();
    block_left_ = kTextBlock;
  }
  std::memcpy(block_next_, raw.data(), raw.size());
  const std::string_view kept(block_next_, raw.size());
  block_next_ += raw.size();
  block_left_ -= raw.size();
  return kept;
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

