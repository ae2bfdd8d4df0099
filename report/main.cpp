// pb-sourcetrek-report: prints one listing of a PureBasic project for scripts and
// editors. Relative main files are taken from the directory the tool was started in.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "frontend/huge_page_heap.h"
#include "report/report_command.h"

int main(int argc, char** argv) {
  StartOnHugePages(argv);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string launch_dir;
  if (char* cwd = ::getcwd(nullptr, 0)) {
    launch_dir = cwd;
    ::free(cwd);
  }
  return RunReport(arguments, launch_dir, std::cout, std::cerr);
}
