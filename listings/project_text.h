// The project's source lines, read once when a listing run starts and kept in memory until
// it ends, each with the preparation that does not depend on what the listing looks for.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "listings/listing_host.h"
#include "source/source_files.h"

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
};

/// Every line of every file of a project, in list order.
class ProjectText {
 public:
  /// Reads each file of `files` once through the line reader, calling `host.PollStop()`
  /// once per line read. Returns false when the host reported a stop (the text is then
  /// incomplete and must not be listed from).
  bool Load(const SourceFileList& files, ListingHost& host);

  /// The files, in list order.
  const std::vector<ProjectFile>& Files() const { return files_; }
  /// Number of lines of all files.
  size_t LineCount() const { return lines_.size(); }
  /// Index in `Files()` of the file that holds line `line` (which must exist).
  size_t FileOf(size_t line) const;
  /// 1-based number of line `line` in its file.
  int32_t LineNumber(size_t line) const;

  /// The line as `ReadSourceLine` gives it: leading blanks removed, tabs kept.
  std::string_view SourceLine(size_t line) const {
    return {lines_[line].Text, lines_[line].Length};
  }
  /// Kind of the line after `PrepareCallLine`; closing up blanks for a key can only turn
  /// a head into a non-head (see `CloseUpCanUnmakeHead`).
  LineKind CallKind(size_t line) const { return lines_[line].CallKind; }
  /// True when some line is a module statement (`ClassifyModuleLine`).
  bool HasModuleStatements() const { return has_module_statements_; }

 private:
  struct Line {
    const char* Text = nullptr;  ///< the line as read, without terminator and leading blanks
    size_t Length = 0;
    LineKind CallKind = LineKind::Other;
  };

  void AddLine(std::string_view raw, std::string& spill);
  std::string_view Keep(std::string_view raw, std::string& spill);

  std::vector<ProjectFile> files_;
  std::deque<Line> lines_;  ///< grows without a copy of all lines at twice their size
  // The lines' bytes, one after the other in blocks that are never moved, so a project
  // costs about its own size and no copying while it is read; a line longer than a block
  // is kept in its own string as the reader delivered it.
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::deque<std::string> long_lines_;
  char* block_next_ = nullptr;
  size_t block_left_ = 0;
  bool has_module_statements_ = false;
};
