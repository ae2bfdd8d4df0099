// The one line reader of the program: buffered reading of a source file, split into lines
// at LF, CR, CR LF or a zero byte, with no limit on the length of a line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "source/file_system.h"

/// Reads one source file line by line. Only regular files open; at most one file is open
/// per reader. Reads in large blocks, never a system call per byte. A UTF-8 byte-order
/// mark at the very start of the file is not read: it belongs to no line.
class SourceReader {
 public:
  SourceReader() = default;
  SourceReader(const SourceReader&) = delete;
  SourceReader& operator=(const SourceReader&) = delete;
  ~SourceReader();

  /// Opens `path` for reading; false when it is missing, unreadable or not a regular file
  /// (a directory or a FIFO never opens, and opening never blocks).
  bool Open(const std::string& path);
  /// Closes the file; harmless when none is open.
  void Close();
  /// True when no byte is left (or no file is open).
  bool AtEnd();
  /// Next line without its terminator, leading blanks kept; empty at the end.
  /// The terminator itself (LF, CR, CR LF, zero byte, or none at the end) goes to `terminator`
  /// when it is given.
  std::string ReadRawLine(std::string* terminator = nullptr);
  /// As `ReadRawLine`, but into `line` (replacing what it held), so that a caller that
  /// reads many lines reuses one buffer instead of allocating a string per line.
  void ReadRawLineInto(std::string& line, std::string* terminator = nullptr);
  /// Every byte not read yet, into `bytes` (replacing what it held), in as few system
  /// calls as the file's size allows; the reader is then at the end.
  void ReadRest(std::string& bytes);

 private:
  /// Where the next LF, CR or zero byte of the block stands.
  struct TerminatorCursor {
    char Byte;
    bool Scanned = false;  ///< false until `Next` is known for the current block
    size_t Next = 0;       ///< its first position at or after the last search start
  };

  bool Fill();
  size_t NextTerminator();
  void TakeTerminator(std::string* terminator);
  void AppendToLine(std::string& line, const char* bytes, size_t count) const;

  ReadableFile file_;
  std::string buffer_;     // one block of the file; its first `filled_` bytes are valid
  size_t filled_ = 0;
  size_t position_ = 0;    // next unread byte in `buffer_`
  bool end_of_input_ = false;
  unsigned long long file_size_ = 0;  // bytes to read when opened; bounds how far a line grows
  unsigned long long bytes_read_ = 0;
  TerminatorCursor cursors_[3] = {{'\n'}, {'\r'}, {'\0'}};
};

/// `line_number` + 1, staying at the largest 32-bit value: a file of more than 2^31 lines
/// cannot overflow a line count.
int32_t NextLineNumber(int32_t line_number);

/// Next line of `reader` with its leading blanks (character 32) removed; tabs stay.
std::string ReadSourceLine(SourceReader& reader);

/// As `ReadSourceLine`, read into `buffer`; the answer views `buffer` and stays valid
/// until `buffer` changes.
std::string_view ReadSourceLineInto(SourceReader& reader, std::string& buffer);
