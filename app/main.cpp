// PB Sourcetrek: lists the procedures, calls and terms of a PureBasic project.
#include <iostream>
#include <string>
#include <vector>

#include "app/start_up.h"
#include "app/window_help.h"
#include "frontend/huge_page_heap.h"

int main(int argc, char** argv) {
  StartOnHugePages(argv);
  // --help and --version are answered before the toolkit starts: no display, no window.
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (AnswerInformationRequest(arguments, std::cout)) return 0;
  return RunSourcetrek(argc, argv);
}
