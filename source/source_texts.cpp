#include "source/source_texts.h"

#include "source/source_reader.h"

// The identity is taken before the bytes are read: a file changed in between shows a newer
// one than the one kept, and is read again at the next `DropChanged`.
std::shared_ptr<const std::string> SourceTexts::Bytes(const std::string& path) const {
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
    const bool same = held->second.Bytes != nullptr && held->second.Read == IdentityOf(held->first);
    held = same ? std::next(held) : read_.erase(held);
  }
}
