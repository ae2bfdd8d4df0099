// The window's clipboard: texts that the commands and listings give the user to paste.
#pragma once

#include <string_view>

/// Puts `text` (source bytes, converted for display) on the clipboard selection and asks
/// for it to be stored beyond the program's end.
void PutOnClipboard(std::string_view text);
