#include "source/source_texts.h"

#include "source/source_reader.h"

// The identity is taken before the bytes are read: a file changed in between shows a newer
// one than the one kept, and is read again at the next `DropChanged`.
std::shared_ptr<const std::string> SourceTexts::Bytes(const std::string& path) const {
  if (const auto* edited = EditorBytes(path)) return *edited;
  const auto known = read_.find(path);
  if (known != read_.end()) return known->second.Bytes;
  Held held{IdentityOf(path), nullptr};
  SourceReader reader;
  if (reader.Open(path)) {
    auto bytes = std::make_shared<std::string>();
    reader.ReadRest(*bytes);
    held.Bytes = std::move(bytes);
  }
  return read_.emplace(path, std::move(held)).first->second.Bytes;
}

std::shared_ptr<const std::string> SourceTexts::HeldBytes(const std::string& path) const {
  if (const auto* edited = EditorBytes(path)) return *edited;
  const auto known = read_.find(path);
  return known != read_.end() ? known->second.Bytes : nullptr;
}

const std::string* SourceTexts::HeldOrRead(const std::string& path, std::string& buffer) const {
  // The bytes stay where they are: this cache or the editor's texts hold them.
  if (const std::shared_ptr<const std::string> held = HeldBytes(path)) return held.get();
  if (read_.count(path) != 0) return nullptr;  // read before, and it did not open
  SourceReader reader;
  if (!reader.Open(path)) return nullptr;
  reader.ReadRest(buffer);
  return &buffer;
}

// A file that did not open is dropped as well (it may open now), but counts as changed
// only when something new is at its path.
bool SourceTexts::DropChanged() {
  bool changed = false;
  for (auto held = read_.begin(); held != read_.end();) {
    const FileIdentity now = IdentityOf(held->first);
    const bool same = held->second.Read == now;
    if (held->second.Bytes != nullptr && same) {
      ++held;
      continue;
    }
    changed = changed || held->second.Bytes != nullptr || (now.Valid && !same);
    held = read_.erase(held);
  }
  return changed;
}

void SourceTexts::SetEditorBytes(const std::string& path, std::string bytes) {
  Held held{IdentityOf(path), std::make_shared<const std::string>(std::move(bytes))};
  // What was read of the file under any path is not what the editor holds.
  for (auto read = read_.begin(); read != read_.end();) {
    const bool same = read->first == path || read->second.Read.SameFile(held.Read);
    read = same ? read_.erase(read) : std::next(read);
  }
  editor_[path] = std::move(held);
}

void SourceTexts::DropEditorBytes(const std::string& path) {
  editor_.erase(path);
  read_.erase(path);
}

// A path that the include scan spelled otherwise (another folder route, a symbolic link)
// still names the file the editor holds: the device and inode tell.
const std::shared_ptr<const std::string>* SourceTexts::EditorBytes(const std::string& path) const {
  if (editor_.empty()) return nullptr;
  const auto named = editor_.find(path);
  if (named != editor_.end()) return &named->second.Bytes;
  if (read_.count(path) != 0) return nullptr;  // read from disk: it is no editor's file
  const FileIdentity identity = IdentityOf(path);
  for (const auto& [editor_path, held] : editor_) {
    if (held.Read.SameFile(identity)) return &held.Bytes;
  }
  return nullptr;
}
