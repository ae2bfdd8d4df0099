// The program's entry: the toolkit, the working directory, the command line, the main
// window with the first take-up and lookup, and the event loop until the window closes.
#pragma once

/// Runs the whole program with the command line `argc`/`argv`. Every way out (no display,
/// no main file chosen, the window closed) ends here; the exit status is always 0.
void RunSourcetrek(int argc, char** argv);
