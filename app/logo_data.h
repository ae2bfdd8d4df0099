// The program's 16 x 16 logo with alpha channel, carried inside the program as PNG bytes.
#pragma once

#include <cstddef>

/// PNG bytes of app/resources/logo.png, embedded at build time.
extern const unsigned char LogoPng[];
/// Number of bytes in `LogoPng`.
extern const size_t LogoPngSize;
