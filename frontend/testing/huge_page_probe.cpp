// Starts as the programs start, then prints what the tests of that start look at: whether
// this program image was started again (the restart's own variable stands in the
// environment that the kernel gave it, /proc/self/environ), the GLIBC_TUNABLES and the
// restart's variable it has now, its name as ps shows it (/proc/self/comm), and its
// arguments.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "frontend/huge_page_heap.h"

namespace {

std::string Shown(const char* value) { return value != nullptr ? value : "(unset)"; }

bool StartedAgain() {
  std::ifstream file("/proc/self/environ");
  const std::string name = "PB_SOURCETREK_TUNABLES=";
  for (std::string entry; std::getline(file, entry, '\0');) {
    if (entry.compare(0, name.size(), name) == 0) return true;
  }
  return false;
}

std::string Name() {
  std::ifstream file("/proc/self/comm");
  std::string name;
  std::getline(file, name);
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  StartOnHugePages(argv);
  std::cout << "started again: " << (StartedAgain() ? "yes" : "no") << "\n"
            << "now: " << Shown(std::getenv("GLIBC_TUNABLES")) << "\n"
            << "restart's own: " << Shown(std::getenv("PB_SOURCETREK_TUNABLES")) << "\n"
            << "name: " << Name() << "\n"
            << "arguments:";
  for (int arg = 1; arg < argc; ++arg) std::cout << " [" << argv[arg] << "]";
  std::cout << "\n";
}
