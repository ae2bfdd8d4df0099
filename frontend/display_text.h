// Conversion of source bytes to the UTF-8 that the window and the report tool show.
#pragma once

#include <string>
#include <string_view>

/// True when `bytes` are well-formed UTF-8 (no overlong forms, surrogates or values past
/// U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

/// `bytes` unchanged when they are valid UTF-8, else read as ISO-8859-15 and converted.
std::string ToDisplayText(std::string_view bytes);

/// Appends `ToDisplayText(bytes)` to `out`; valid UTF-8 is appended as it stands, with no
/// string of its own in between.
void AppendDisplayText(std::string& out, std::string_view bytes);
