#include "frontend/display_text.h"

#include <cstdint>
#include <cstring>

namespace {

// Length of the well-formed UTF-8 sequence at `i`, or 0 when it is not one (Unicode
// Table 3-7: no overlong forms, no surrogates, nothing above U+10FFFF).
size_t Utf8SequenceLength(std::string_view bytes, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
  const auto in = [](unsigned char b, unsigned char lo, unsigned char hi) {
    return b >= lo && b <= hi;
  };
  const unsigned char b0 = byte(0);
  if (b0 < 0x80) return 1;
  const size_t left = bytes.size() - i;
  if (in(b0, 0xC2, 0xDF)) return left >= 2 && in(byte(1), 0x80, 0xBF) ? 2 : 0;
  if (in(b0, 0xE0, 0xEF)) {
    if (left < 3) return 0;
    const unsigned char lo = b0 == 0xE0 ? 0xA0 : 0x80;
    const unsigned char hi = b0 == 0xED ? 0x9F : 0xBF;
    return in(byte(1), lo, hi) && in(byte(2), 0x80, 0xBF) ? 3 : 0;
  }
  if (in(b0, 0xF0, 0xF4)) {
    if (left < 4) return 0;
    const unsigned char lo = b0 == 0xF0 ? 0x90 : 0x80;
    const unsigned char hi = b0 == 0xF4 ? 0x8F : 0xBF;
    return in(byte(1), lo, hi) && in(byte(2), 0x80, 0xBF) && in(byte(3), 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

// The code point of an ISO-8859-15 byte: Latin-1 except at the eight places of the euro
// sign and the seven letters that replaced Latin-1 symbols.
uint32_t Iso885915CodePoint(unsigned char b) {
  switch (b) {
    case 0xA4: return 0x20AC;  // €
    case 0xA6: return 0x0160;  // Š
    case 0xA8: return 0x0161;  // š
    case 0xB4: return 0x017D;  // Ž
    case 0xB8: return 0x017E;  // ž
    case 0xBC: return 0x0152;  // Œ
    case 0xBD: return 0x0153;  // œ
    case 0xBE: return 0x0178;  // Ÿ
    default: return b;
  }
}

void AppendUtf8(std::string& out, uint32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  // Sources are mostly ASCII: eight bytes without a high bit are passed at once.
  size_t i = 0;
  for (uint64_t eight = 0; i + 8 <= bytes.size(); i += 8) {
    std::memcpy(&eight, bytes.data() + i, 8);
    if ((eight & 0x8080808080808080u) != 0) break;
  }
  while (i < bytes.size()) {
    const size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string ToDisplayText(std::string_view bytes) {
  std::string text;
  AppendDisplayText(text, bytes);
  return text;
}

void AppendDisplayText(std::string& out, std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    out.append(bytes);
    return;
  }
  out.reserve(out.size() + bytes.size() * 2);
  for (const char c : bytes) {
    AppendUtf8(out, Iso885915CodePoint(static_cast<unsigned char>(c)));
  }
}
