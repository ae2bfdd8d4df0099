#include "app/leading_digits.h"

#include <algorithm>

int64_t LeadingDigitsValue(std::string_view text, int64_t limit) {
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min((value * 10) + (c - '0'), limit);
  }
  return value;
}
