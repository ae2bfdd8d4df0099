#include "source/source_texts.h"

#include "source/source_reader.h"

std::shared_ptr<const std::string> SourceTexts::Bytes(const std::string& path) const {
  const auto known = read_.find(path);
  if (known != read_.end()) return known->second;
  std::shared_ptr<std::string> bytes;
  SourceReader reader;
  if (reader.Open(path)) {
    bytes = std::make_shared<std::string>();
    reader.ReadRest(*bytes);
  }
  read_.emplace(path, bytes);
  return bytes;
}

const std::string* SourceTexts::HeldOrRead(const std::string& path, std::string& buffer) const {
  const auto known = read_.find(path);
  if (known != read_.end()) return known->second.get();
  SourceReader reader;
  if (!reader.Open(path)) return nullptr;
  reader.ReadRest(buffer);
  return &buffer;
}
