// Test helper: a snapshot of everything under a folder (kind, mode, size, times and
// bytes), to prove that a run wrote nothing, and a read-only switch for a folder tree.
// Header-only; used by the tests alone.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace folder_snapshot {

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace folder_snapshot

/// What is known of one file or folder: kind, mode, size, change times and content.
struct EntryState {
  mode_t Mode = 0;
  off_t Size = 0;
  timespec Modified{};
  timespec Changed{};
  std::string Content;  ///< of a regular file; the target of a symlink

  bool operator==(const EntryState& other) const {
    return Mode == other.Mode && Size == other.Size && Modified.tv_sec == other.Modified.tv_sec &&
           Modified.tv_nsec == other.Modified.tv_nsec && Changed.tv_sec == other.Changed.tv_sec &&
           Changed.tv_nsec == other.Changed.tv_nsec && Content == other.Content;
  }
};

using Snapshot = std::map<std::string, EntryState>;

/// Every entry under `path` (itself included), recursively, without following symlinks.
inline void TakeSnapshot(const std::string& path, Snapshot& snapshot) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return;
  EntryState& state = snapshot[path];
  state = {info.st_mode, info.st_size, info.st_mtim, info.st_ctim, {}};
  if (S_ISREG(info.st_mode)) state.Content = folder_snapshot::ReadWhole(path);
  if (S_ISLNK(info.st_mode)) {
    char target[4096];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    state.Content.assign(target, length > 0 ? static_cast<size_t>(length) : 0);
  }
  if (!S_ISDIR(info.st_mode)) return;
  DIR* directory = ::opendir(path.c_str());
  if (directory == nullptr) return;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") TakeSnapshot(path + "/" + name, snapshot);
  }
  ::closedir(directory);
}

inline Snapshot SnapshotOf(const std::string& path) {
  Snapshot snapshot;
  TakeSnapshot(path, snapshot);
  return snapshot;
}

/// Turns off every write permission under `path` (what chmod -R a-w does).
inline void RemoveWritePermissions(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode)) return;
  if (S_ISDIR(info.st_mode)) {
    DIR* directory = ::opendir(path.c_str());
    while (const dirent* entry = directory ? ::readdir(directory) : nullptr) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") RemoveWritePermissions(path + "/" + name);
    }
    if (directory) ::closedir(directory);
  }
  ::chmod(path.c_str(), info.st_mode & 07555);
}

/// Gives the owner write permission back, so the test folder can be removed.
inline void RestoreWritePermissions(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode)) return;
  ::chmod(path.c_str(), info.st_mode | S_IWUSR);
  if (!S_ISDIR(info.st_mode)) return;
  DIR* directory = ::opendir(path.c_str());
  while (const dirent* entry = directory ? ::readdir(directory) : nullptr) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") RestoreWritePermissions(path + "/" + name);
  }
  if (directory) ::closedir(directory);
}

