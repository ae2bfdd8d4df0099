// The bytes of a project's files, each file read whole once and kept while a run needs
// them, so that the include scan, the procedures list and a listing read it only once.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

/// Files read whole, by path. A cache: what it answers for a path stays the same until
/// `Forget`, however often it is asked.
class SourceTexts {
 public:
  /// The bytes of the file at `path`, read on the first request; null when it does not
  /// open (missing, unreadable, or not a regular file). The bytes stay valid as long as
  /// the answer is held, also after `Forget`.
  std::shared_ptr<const std::string> Bytes(const std::string& path) const;
  /// The bytes of the file at `path` as `Bytes` gives them when they are held already;
  /// else the file read into `buffer`, which is not kept: a pass that needs each file once
  /// reuses one buffer instead of fresh memory for every file. Null when it does not open.
  const std::string* HeldOrRead(const std::string& path, std::string& buffer) const;
  /// Drops every file read, so that the next request reads the file as it is then.
  void Forget() { read_.clear(); }

 private:
  mutable std::unordered_map<std::string, std::shared_ptr<const std::string>> read_;
};
