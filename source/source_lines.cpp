#include "source/source_lines.h"

#include <cstring>

size_t SourceLines::NextRareTerminator(std::string_view bytes, size_t from) {
  size_t nearest = bytes.size();
  if (from >= nearest) return nearest;
  for (const char rare : {'\r', '\0'}) {
    const void* hit = std::memchr(bytes.data() + from, rare, nearest - from);
    if (hit) nearest = static_cast<size_t>(static_cast<const char*>(hit) - bytes.data());
  }
  return nearest;
}
