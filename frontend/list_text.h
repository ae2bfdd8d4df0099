// A result list as plain text for the clipboard: cells separated by tabs, lines ending in
// LF, every cell converted for display on its own so the text is UTF-8 throughout.
#pragma once

#include <cstdint>
#include <string>

#include "listings/result_list.h"

/// The five cells of row `row` joined by tabs; empty for a row that does not exist.
std::string RowClipboardText(const ResultList& list, int32_t row);

/// The caption, the column headers and every row, one per line, each line ending in LF.
std::string ListClipboardText(const ResultList& list);
