// Starts as the programs start, then prints what the tests of that start look at: whether
// this program image was started again (the restart's own variable stands in the
// environment that the kernel gave it, /proc/self/environ), the GLIBC_TUNABLES and the
// restart's variable it has now, its name as ps shows it (/proc/self/comm), and its
// arguments. Started with "--heap" only, it prints instead whether the first large block
// it allocates starts on a 2 MB boundary (within the block's header), as the heap's huge
// pages begin there. It is built without sanitizers, so that its heap is glibc's.
#include <cstdint>
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
  if (argc == 2 && std::string(argv[1]) == "--heap") {
    constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
    void* const block = std::malloc(1 << 20);
    const bool on_boundary = reinterpret_cast<uintptr_t>(block) % kHugePage < 4096;
    std::cout << "first large block on a 2 MB boundary: " << (on_boundary ? "yes" : "no") << "\n";
    std::free(block);
    return 0;
  }
  std::cout << "started again: " << (StartedAgain() ? "yes" : "no") << "\n"
            << "now: " << Shown(std::getenv("GLIBC_TUNABLES")) << "\n"
            << "restart's own: " << Shown(std::getenv("PB_SOURCETREK_TUNABLES")) << "\n"
            << "name: " << Name() << "\n"
            << "arguments:";
  for (int arg = 1; arg < argc; ++arg) std::cout << " [" << argv[arg] << "]";
  std::cout << "\n";
}
