// The language server's run on two streams: a reader thread that frames and parses the
// client's messages (and turns a cancellation into the Stop of the running listing), and
// the loop that handles them one by one and publishes diagnostics once edits pause.
#pragma once

#include <chrono>
#include <istream>
#include <ostream>

/// How long edits must pause before diagnostics are published.
constexpr std::chrono::milliseconds DiagnosticsDelay{150};

/// Serves the client on `in` and `out` until exit or the end of `in`; returns the exit
/// status (0 when shutdown came first, else 1).
int ServeLanguageClient(std::istream& in, std::ostream& out);
