// The project's source lines, taken from the files' bytes of the run and kept in memory
// until it ends, each with the preparation that does not depend on what the listing looks
// for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "listings/block_memory.h"
#include "listings/listing.h"
#include "listings/listing_host.h"
#include "source/source_files.h"
#include "source/source_texts.h"

/// What the shared line tests say about one line.
enum class LineKind : uint8_t { Comment, Head, End, Other };

/// Kind of `line` by `IsCommentLine`, then `IsProcedureHead`, then `IsProcedureEnd`.
LineKind ClassifyLine(std::string_view line);

/// One entry of the source file list as read.
struct ProjectFile {
  std::string FileName;  ///< file-name part of its path
  bool Opened = false;   ///< false when the file could not be opened (it then has no lines)
  size_t FirstLine = 0;  ///< id of its first line; line ids run through all files
  size_t LineCount = 0;
  std::string_view Bytes;  ///< the file as read, which its lines view; empty when not opened
};

/// Every line of every file of a project, in list order.
class ProjectText {
 public:
  /// Takes the lines of each file of `files` from `texts` (which reads a file on its
  /// first request), calling `host.PollStop()` once per line. Stopped when the host
  /// reported a stop (the text is then incomplete and must not be listed from).
  ListingEnd Load(const SourceFileList& files, const SourceTexts& texts, ListingHost& host);

  /// The files, in list order.
  const std::vector<ProjectFile>& Files() const { return files_; }
  /// The bytes of the files that opened, which the lines view (see `ResultList::HoldBytes`).
  const std::vector<std::shared_ptr<const std::string>>& HeldBytes() const { return held_; }
  /// Number of lines of all files.
  size_t LineCount() const { return line_count_; }
  /// Index in `Files()` of the file that holds line `line` (which must exist).
  size_t FileOf(size_t line) const;
  /// 1-based number of line `line` in its file.
  int32_t LineNumber(size_t line) const;

  /// The line as `ReadSourceLine` gives it: leading blanks removed, tabs kept.
  std::string_view SourceLine(size_t line) const {
    const Line& held = At(line);
    return {held.Text, held.Length};
  }
  /// Asks for the record of line `line` ahead of its use: listings that visit lines all
  /// over the project otherwise wait for memory at each.
  void PrefetchLine(size_t line) const { __builtin_prefetch(&At(line)); }
  /// Asks for the first bytes of line `line` ahead of their use; its record should have
  /// been asked for a while before.
  void PrefetchText(size_t line) const { __builtin_prefetch(At(line).Text); }
  /// Kind of the line after `PrepareCallLine`; closing up blanks for a key can only turn
  /// a head into a non-head (see `CloseUpCanUnmakeHead`).
  LineKind CallKind(size_t line) const { return At(line).CallKind; }
  /// `IsDeclareLine` of the line, told while it was read: the listings ask it of lines all
  /// over the project, whose bytes would have to be fetched for it.
  bool IsDeclare(size_t line) const { return At(line).Declare; }
  /// False for a line that starts (after tabs and blanks) with no letter of a listed head
  /// (`ListedHeadText`), end, Declare or module statement: told while it was read, so that
  /// a walk for those lines reads no other line's bytes.
  bool MayBeKeywordLine(size_t line) const { return At(line).KeywordLine; }
  /// True when some line is a module statement (`ClassifyModuleLine`).
  bool HasModuleStatements() const { return !module_lines_.empty(); }
  /// Ids of the lines that are module statements, ascending: the module rules need look
  /// at no other line.
  const std::vector<size_t>& ModuleStatementLines() const { return module_lines_; }

 private:
  /// 16 bytes: the listings look lines up all over the project, so many fit in the cache.
  struct Line {
    const char* Text = nullptr;  ///< the line as read, without terminator and leading blanks
    uint32_t Length = 0;
    LineKind CallKind = LineKind::Other;
    bool Declare = false;
    bool KeywordLine = false;
  };
  static_assert(sizeof(Line) == 16, "a chunk of lines fills one huge page");
  // The lines in chunks of a power of two: they grow without a copy of all lines at twice
  // their size, and finding one costs a shift and a mask. A chunk is one 2 MB huge page,
  // filled with one page fault instead of 512.
  static constexpr size_t kChunkBits = 17;
  static constexpr size_t kChunkLines = size_t{1} << kChunkBits;

  const Line& At(size_t line) const { return chunks_[line >> kChunkBits][line & (kChunkLines - 1)]; }
  void AddLine(std::string_view raw);
  void Push(std::string_view text, LineKind kind, bool keyword_line = false, bool declare = false);

  std::vector<ProjectFile> files_;
  std::vector<std::vector<Line, BlockAllocator<Line>>> chunks_;
  size_t line_count_ = 0;
  /// The bytes that the lines view, held so that they outlive the cache's dropping them.
  std::vector<std::shared_ptr<const std::string>> held_;
  std::vector<size_t> module_lines_;
};
