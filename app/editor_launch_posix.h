// Starting an outside program (the PureBasic IDE) as a process of its own: argument vector,
// no shell, no waiting, no handle kept. The POSIX side of the jump to the editor.
#pragma once

#include <string>
#include <vector>

/// Starts the program at path `arguments[0]` with `arguments` as its whole argument vector,
/// without waiting for it and without a shell; the program is not looked up in PATH.
/// Returns false when `arguments` is empty or no process could be created; a program that
/// cannot be executed ends its own process silently and still counts as started.
bool StartDetachedProgram(const std::vector<std::string>& arguments);
