// The one mapping from row marks to the colours in which the window shows them. The GTK
// view and the report tool's JSON output both take their colours from here.
#pragma once

#include <cstdint>
#include <optional>

#include "listings/result_list.h"

/// A colour as red, green, blue, each 0 to 255.
struct Rgb {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  bool operator==(const Rgb& other) const {
    return Red == other.Red && Green == other.Green && Blue == other.Blue;
  }
  bool operator!=(const Rgb& other) const { return !(*this == other); }
};

/// The colours of one cell; none means the view's default.
struct CellColours {
  std::optional<Rgb> Text;
  std::optional<Rgb> Background;
};

/// The colours of `column` of a row with `marks` that was written for a list of kind
/// `written_for`.
CellColours MarkColours(ListKind written_for, RowMarks marks, int column);
