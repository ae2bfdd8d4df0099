#include "source/source_texts.h"

#include "source/source_reader.h"

namespace {

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool SourceTexts::Stamp::operator==(const Stamp& other) const {
  return Valid && other.Valid && Device == other.Device && Inode == other.Inode &&
         Size == other.Size && SameTime(Modified, other.Modified) &&
         SameTime(Changed, other.Changed);
}

SourceTexts::Stamp SourceTexts::StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// The stamp is taken before the bytes are read: a file changed in between shows a newer
// stamp than the one kept, and is read again at the next `DropChanged`.
std::shared_ptr<const std::string> SourceTexts::Bytes(const std::string& path) const {
  const auto known = read_.find(path);
  if (known != read_.end()) return known->second.Bytes;
  Held held{StampOf(path), nullptr};
  SourceReader reader;
  if (reader.Open(path)) {
    auto bytes = std::make_shared<std::string>();
    reader.ReadRest(*bytes);
    held.Bytes = std::move(bytes);
  }
  return read_.emplace(path, std::move(held)).first->second.Bytes;
}

const std::string* SourceTexts::HeldOrRead(const std::string& path, std::string& buffer) const {
  const auto known = read_.find(path);
  if (known != read_.end()) return known->second.Bytes.get();
  SourceReader reader;
  if (!reader.Open(path)) return nullptr;
  reader.ReadRest(buffer);
  return &buffer;
}

void SourceTexts::DropChanged() {
  for (auto held = read_.begin(); held != read_.end();) {
    const bool same = held->second.Bytes != nullptr && held->second.Read == StampOf(held->first);
    held = same ? std::next(held) : read_.erase(held);
  }
}
