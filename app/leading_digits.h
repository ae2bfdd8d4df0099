// The value of the decimal digits at the start of a text, as the selection parameter and
// the "Line" cell of a row are read: no sign, no overflow.
#pragma once

#include <cstdint>
#include <string_view>

/// Value of the leading decimal digits of `text` (0 when it starts with none), stopping
/// at `limit` so that any number of digits saturates instead of overflowing.
int64_t LeadingDigitsValue(std::string_view text, int64_t limit);
