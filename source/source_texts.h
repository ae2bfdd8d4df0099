// The bytes of a project's files, each file read whole once and kept while they are what
// the file holds, so that the include scan, the procedures list and the listings read it
// only once.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "source/file_system.h"

/// Files read whole, by path. A cache: what it answers for a path stays the same until
/// `DropChanged` or `Forget`, however often it is asked.
class SourceTexts {
 public:
  /// The bytes of the file at `path`, read on the first request; null when it does not
  /// open (missing, unreadable, or not a regular file). The bytes stay valid as long as
  /// the answer is held, also after `DropChanged` or `Forget`.
  std::shared_ptr<const std::string> Bytes(const std::string& path) const;
  /// The bytes of the file at `path` as `Bytes` gives them when they are held already (the
  /// editor's or read before); else null, and nothing is read.
  std::shared_ptr<const std::string> HeldBytes(const std::string& path) const;
  /// The bytes of the file at `path` as `HeldBytes` gives them; else the file read into
  /// `buffer`, which is not kept: a pass that needs each file once reuses one buffer
  /// instead of fresh memory for every file. Null when it does not open.
  const std::string* HeldOrRead(const std::string& path, std::string& buffer) const;
  /// Drops the files that are no longer what was read (another file at the path, another
  /// size, modification or change time) and those that did not open, so that the next
  /// request reads them as they are then; the others are not read again. True when a file
  /// read is no longer what was read, or something is now at the path of one that did not
  /// open.
  bool DropChanged();
  /// Drops every file read; the editor's texts stay.
  void Forget() { read_.clear(); }
  /// From now on the bytes of the file at `path` (or of the same file under another path)
  /// are `bytes`, whatever the disk holds, until `DropEditorBytes`.
  void SetEditorBytes(const std::string& path, std::string bytes);
  /// The file at `path` is read from the disk again.
  void DropEditorBytes(const std::string& path);

 private:
  struct Held {
    FileIdentity Read;  ///< what the file was when it was read
    std::shared_ptr<const std::string> Bytes;
  };

  const std::shared_ptr<const std::string>* EditorBytes(const std::string& path) const;

  mutable std::unordered_map<std::string, Held> read_;
  /// The editor's texts by the path it named, with who the file on disk at that path is.
  std::unordered_map<std::string, Held> editor_;
};
