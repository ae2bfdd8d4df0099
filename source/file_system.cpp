#include "source/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::optional<struct stat> StatusOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return info;
}

}  // namespace

bool FileIdentity::SameFile(const FileIdentity& other) const {
  return Valid && other.Valid && Device == other.Device && Inode == other.Inode;
}

bool FileIdentity::operator==(const FileIdentity& other) const {
  return SameFile(other) && Size == other.Size && SameTime(Modified, other.Modified) &&
         SameTime(Changed, other.Changed);
}

FileIdentity IdentityOf(const std::string& path) {
  const auto info = StatusOf(path);
  if (!info) return {};
  return {true, info->st_dev, info->st_ino, info->st_size, info->st_mtim, info->st_ctim};
}

bool PathExists(const std::string& path) { return StatusOf(path).has_value(); }

bool IsRegularFile(const std::string& path) {
  const auto info = StatusOf(path);
  return info && S_ISREG(info->st_mode);
}

bool IsFolder(const std::string& path) {
  const auto info = StatusOf(path);
  return info && S_ISDIR(info->st_mode);
}

std::optional<std::vector<std::string>> FolderEntries(const std::string& path) {
  DIR* folder = path.empty() ? nullptr : ::opendir(path.c_str());
  if (folder == nullptr) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(folder)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) names.emplace_back(name);
  }
  ::closedir(folder);
  return names;
}

bool ReadableFile::Open(const std::string& path) {
  Close();
  // O_NONBLOCK: opening a FIFO for reading must not wait for a writer; anything that is
  // not a regular file is then turned away before a byte is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(info.st_size > 0 ? info.st_size : 0);
  return true;
}

void ReadableFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

size_t ReadableFile::Read(char* into, size_t count) {
  if (fd_ < 0) return 0;
  ssize_t got = 0;
  do {
    got = ::read(fd_, into, count);
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<size_t>(got) : 0;
}

void ReadableFile::SkipStart(size_t count) {
  if (fd_ >= 0) ::lseek(fd_, static_cast<off_t>(count), SEEK_SET);
}

std::string ReadableFile::PeekStart(size_t count) {
  std::string bytes(count, '\0');
  ssize_t got = fd_ >= 0 ? ::pread(fd_, &bytes[0], count, 0) : 0;
  bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return bytes;
}

std::optional<std::string> ReadBoundedFile(const std::string& path, size_t limit) {
  ReadableFile file;
  if (!file.Open(path) || file.Size() > limit) return std::nullopt;
  std::string text;
  char block[65536];
  // The size may have grown since it was looked at: the limit holds for what is read.
  for (size_t got = 0; text.size() <= limit && (got = file.Read(block, sizeof block)) > 0;) {
    text.append(block, got);
  }
  if (text.size() > limit) return std::nullopt;
  return text;
}
