// The program's entry: the toolkit, the working directory, the command line, the main
// window with the first take-up and lookup, and the event loop until the window closes.
#pragma once

/// Runs the whole program with the command line `argc`/`argv` (the toolkit's own options
/// taken out first) and returns its exit status: 2 after a usage error, 1 when no display
/// can be opened (both with a line on standard error), else 0 once the window is closed
/// or no main file was chosen.
int RunSourcetrek(int argc, char** argv);
