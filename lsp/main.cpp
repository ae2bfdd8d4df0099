// pb-sourcetrek-lsp: the language server on standard input and output.
#include <cstdio>
#include <iostream>
#include <string>

#include "frontend/huge_page_heap.h"
#include "frontend/program_info.h"
#include "lsp/server_loop.h"

namespace {

constexpr char kHelp[] =
    "usage: pb-sourcetrek-lsp [--stdio]\n"
    "       pb-sourcetrek-lsp --help | --version\n"
    "\n"
    "A Language Server Protocol server for PureBasic projects on standard input and\n"
    "output: definition, declaration, references, call hierarchy, symbols, hover,\n"
    "diagnostics (unused procedures, Declare check, unreadable includes), the quick fix\n"
    "\"Add missing Declares\", rename and completion, from the same listings as\n"
    "pb-sourcetrek-report. An editor starts it; see its manual page.\n"
    "\n"
    "Options:\n"
    "  --stdio         talk on standard input and output (the only way; accepted for\n"
    "                  clients that pass it)\n"
    "  -h, --help      print this help and exit\n"
    "  -V, --version   print the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
  StartOnHugePages(argv);
  for (int arg = 1; arg < argc; ++arg) {
    const std::string argument = argv[arg];
    const InformationRequest information = RequestedInformation(argument);
    if (information == InformationRequest::Help) {
      std::cout << kHelp;
      return 0;
    }
    if (information == InformationRequest::Version) {
      std::cout << VersionLine("pb-sourcetrek-lsp");
      return 0;
    }
    if (argument != "--stdio") {
      std::cerr << "pb-sourcetrek-lsp: unknown option " << argument << "; see --help\n";
      return 2;
    }
  }
  std::ios::sync_with_stdio(false);
  // The reader thread reads standard input while the loop writes: a tied input stream
  // would flush the output from the reader's thread, racing the loop's writes.
  std::cin.tie(nullptr);
  return ServeLanguageClient(std::cin, std::cout);
}
