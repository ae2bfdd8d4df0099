#include "frontend/huge_page_heap.h"

#include <limits.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

constexpr char kTunables[] = "GLIBC_TUNABLES";
constexpr char kHugePages[] = "glibc.malloc.hugetlb";
/// Set beside it: glibc maps a block of 128 KB or more that the heap's free end cannot
/// hold on its own, at 4 KB pages (it cannot align the mapping for huge ones); from 2 MB
/// on now. The heap grows 64 MB at a time (address space, not memory, until used): where
/// it ends inside a 2 MB page, that page is filled at 4 KB pages, 512 faults, so it
/// should seldom grow.
constexpr char kHeapTunables[] =
    "glibc.malloc.mmap_threshold=2097152:glibc.malloc.top_pad=67108864";
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

/// The block below, written where the compiler must keep it (an unused block's malloc
/// may be left out).
void* volatile skipped_heap_start = nullptr;

/// The heap starts where the kernel put it, 4 KB aligned: up to the first 2 MB boundary
/// only small pages fit, and the program's first megabytes (its files' bytes) would fill
/// them at a fault per 4 KB. A block that reaches from the heap's free end to that
/// boundary, never touched nor freed, takes those addresses instead. The free end is the
/// break less the top chunk's size (`keepcost`); malloc cuts a block that no freed one
/// can hold from there.
void SkipToHugePageBoundary() {
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  constexpr uintptr_t kFewPages = 4 * 4096;  // fewer faults than worth a block
  const struct mallinfo2 info = ::mallinfo2();
  const uintptr_t free_end = reinterpret_cast<uintptr_t>(::sbrk(0)) - info.keepcost;
  const uintptr_t gap = ((free_end + kHugePage - 1) & ~(kHugePage - 1)) - free_end;
  // A chunk of `gap` bytes holds `gap` less its size field.
  if (gap >= kFewPages) skipped_heap_start = std::malloc(gap - sizeof(size_t));
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
    SkipToHugePageBoundary();
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
