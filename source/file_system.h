// What the program asks of the file system: kinds of paths, who a file is, reading a file
// without ever blocking on a FIFO or a device, and the entries of a folder. POSIX.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

/// Who a file is and what it was when looked at: a file rewritten in place with its size
/// and modification time restored (`cp -p`, `touch -r`) still shows another change time.
struct FileIdentity {
  bool Valid = false;  ///< false when the path could not be looked at
  dev_t Device = 0;              ///< the file system it is on
  ino_t Inode = 0;               ///< the file on that file system
  off_t Size = 0;                ///< its size in bytes
  struct timespec Modified {};   ///< its modification time, which `touch -r` can set back
  struct timespec Changed {};    ///< its change time, which every write moves on

  /// True when both are valid and name the same file (device and inode), changed or not.
  bool SameFile(const FileIdentity& other) const;
  /// True when both are valid and every field is equal: the same file, unchanged.
  bool operator==(const FileIdentity& other) const;
};

/// The identity of what `path` names (symbolic links followed); not valid when nothing is there.
FileIdentity IdentityOf(const std::string& path);

/// True when something is at `path` (a folder counts).
bool PathExists(const std::string& path);

/// True when `path` names a regular file (symbolic links followed).
bool IsRegularFile(const std::string& path);

/// True when `path` names a folder (symbolic links followed).
bool IsFolder(const std::string& path);

/// The names of the entries of folder `path`, without "." and "..", in the order the
/// system gives them; nothing when it cannot be read as a folder.
std::optional<std::vector<std::string>> FolderEntries(const std::string& path);

/// A regular file open for reading. Only regular files open, and opening never blocks:
/// a FIFO, a device or a folder is turned away before a byte is read.
class ReadableFile {
 public:
  ReadableFile() = default;
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;
  ~ReadableFile() { Close(); }

  /// Opens `path`; false when it is missing, unreadable or not a regular file.
  bool Open(const std::string& path);
  /// Closes the file; harmless when none is open.
  void Close();
  /// Size of the file when it was opened; 0 when none is open.
  uint64_t Size() const { return size_; }
  /// Reads up to `count` bytes into `into`; the count read, 0 at the end, on an error or
  /// when no file is open.
  size_t Read(char* into, size_t count);
  /// Moves past the first `count` bytes of the file, which must not have been read yet.
  void SkipStart(size_t count);
  /// Up to `count` bytes at the start of the file, without moving the read position.
  std::string PeekStart(size_t count);

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

/// The whole regular file at `path` when it holds at most `limit` bytes; nothing when it
/// does not open (see `ReadableFile`) or is larger.
std::optional<std::string> ReadBoundedFile(const std::string& path, size_t limit);
