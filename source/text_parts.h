// Small text helpers that the line tests, the listings and the front ends share: leading
// runs cut off, numbers padded for the line columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// `text` without its leading run of `c`; empty when it holds nothing else.
std::string_view WithoutLeading(std::string_view text, char c);

/// `number` right-aligned with blanks in 6 places; longer numbers as they are.
std::string PaddedNumber(int32_t number);
