// Where the program's own executable lies, as the POSIX /proc file system tells it.
#pragma once

#include <string>

/// Directory of the program's own executable (through /proc/self/exe), without a
/// trailing "/"; empty when it cannot be read.
std::string ProgramDirectory();
