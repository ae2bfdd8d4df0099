#include "frontend/huge_page_heap.h"

#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

constexpr char kTunables[] = "GLIBC_TUNABLES";
constexpr char kHugePages[] = "glibc.malloc.hugetlb";
/// Set beside it: glibc maps every block of 128 KB or more on its own, at 4 KB pages
/// (it cannot align the mapping for huge ones), where the heap's huge pages would hold
/// it; so blocks under 2 MB come from the heap, which grows 4 MB at a time.
constexpr char kHeapTunables[] = "glibc.malloc.mmap_threshold=2097152:glibc.malloc.top_pad=4194304";
/// Set for the restarted program only: "=" and the user's GLIBC_TUNABLES, or "-" when
/// they were unset.
constexpr char kUsersTunables[] = "PB_SOURCETREK_TUNABLES";

std::string KernelMode() {
  std::ifstream file("/sys/kernel/mm/transparent_hugepage/enabled");
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void PutBackUsersTunables(const char* users) {
  if (users[0] == '=') {
    ::setenv(kTunables, users + 1, 1);
  } else {
    ::unsetenv(kTunables);
  }
  ::unsetenv(kUsersTunables);
}

/// The program's own file: /proc/self/exe resolved. A program started as "exe" would be
/// named so in ps, top and killall, which take the name from the path that was started.
std::string OwnProgramFile() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return "/proc/self/exe";
  return std::string(path, static_cast<size_t>(length));
}

}  // namespace

bool ShouldRestartOnHugePages(std::string_view kernel_mode, const char* tunables,
                              const char* preload) {
  const bool users_own = tunables != nullptr && std::string_view(tunables).find(kHugePages) !=
                                                     std::string_view::npos;
  return kernel_mode.find("[madvise]") != std::string_view::npos && !users_own &&
         (preload == nullptr || *preload == '\0');
}

// glibc takes the last value of a tunable named twice, so the user's own come last.
std::string TunablesWithHugePages(const char* tunables) {
  const std::string ours = std::string(kHugePages) + "=1:" + kHeapTunables;
  return tunables != nullptr && *tunables != '\0' ? ours + ":" + tunables : ours;
}

void StartOnHugePages(char** argv) {
  if (const char* users = std::getenv(kUsersTunables)) {
    PutBackUsersTunables(users);
    return;
  }
  const char* tunables = std::getenv(kTunables);
  if (!ShouldRestartOnHugePages(KernelMode(), tunables, std::getenv("LD_PRELOAD"))) return;
  const std::string users = tunables != nullptr ? std::string("=") + tunables : "-";
  ::setenv(kUsersTunables, users.c_str(), 1);
  ::setenv(kTunables, TunablesWithHugePages(tunables).c_str(), 1);
  ::execv(OwnProgramFile().c_str(), argv);
  PutBackUsersTunables(users.c_str());  // not started again: go on as it is
}
