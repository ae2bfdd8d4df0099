// A result list as plain text for the clipboard: cells separated by tabs, lines ending in
// LF, every cell converted for display on its own so the text is UTF-8 throughout.
#pragma once

#include <cstdint>
#include <string>

#include "listings/result_list.h"

/// The five cells of row `row`, without the blanks and tabs that pad them, joined by tabs;
/// empty for a row without text (a separator) or one that does not exist.
std::string RowClipboardText(const ResultList& list, int32_t row);

/// The caption, the column headers and every row as `RowClipboardText` gives it, one per
/// line (a separator as an empty line), each line ending in LF.
std::string ListClipboardText(const ResultList& list);
