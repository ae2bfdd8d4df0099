#include "source/text_parts.h"

#include <algorithm>

std::string PaddedNumber(int32_t number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 6) digits.insert(0, 6 - digits.size(), ' ');
  return digits;
}

std::string FoldedName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

int64_t LeadingDigitsValue(std::string_view text, int64_t limit) {
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min((value * 10) + (c - '0'), limit);
  }
  return value;
}
