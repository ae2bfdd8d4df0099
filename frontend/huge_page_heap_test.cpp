#include "frontend/huge_page_heap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

TEST(HugePageHeap, RestartsOnlyWhereTheKernelWaitsForAdviceAndTheUserLeftTheTunable) {
  const char* madvise = "always [madvise] never\n";
  EXPECT_TRUE(ShouldRestartOnHugePages(madvise, nullptr, nullptr));
  EXPECT_TRUE(ShouldRestartOnHugePages(madvise, "glibc.malloc.arena_max=2", ""));
  // Huge pages given to all memory or to none: a restart gains nothing.
  EXPECT_FALSE(ShouldRestartOnHugePages("[always] madvise never\n", nullptr, nullptr));
  EXPECT_FALSE(ShouldRestartOnHugePages("always madvise [never]\n", nullptr, nullptr));
  EXPECT_FALSE(ShouldRestartOnHugePages("", nullptr, nullptr));  // no such file
  // The user's own setting, also the one that turns huge pages off, stands; after the
  // restart the tunable is set, so a second restart never follows.
  EXPECT_FALSE(ShouldRestartOnHugePages(madvise, "glibc.malloc.hugetlb=0", nullptr));
  EXPECT_FALSE(ShouldRestartOnHugePages(madvise, TunablesWithHugePages(nullptr).c_str(), nullptr));
  EXPECT_FALSE(ShouldRestartOnHugePages(madvise, nullptr, "/usr/lib/libjemalloc.so.2"));
}

// glibc takes the last value of a tunable named twice.
TEST(HugePageHeap, TheUsersOwnTunablesComeLastAndSoWin) {
  const std::string ours =
      "glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=2097152:glibc.malloc.top_pad=67108864";
  EXPECT_EQ(TunablesWithHugePages(nullptr), ours);
  EXPECT_EQ(TunablesWithHugePages(""), ours);
  EXPECT_EQ(TunablesWithHugePages("glibc.malloc.top_pad=0"), ours + ":glibc.malloc.top_pad=0");
}

namespace {

/// What the probe prints when started with GLIBC_TUNABLES set to `tunables` (unset for
/// null), nothing preloaded, and `arguments`.
std::string ProbeStartedWith(const char* tunables, const std::string& arguments = "one 'two words'") {
  std::string command = "env -u LD_PRELOAD -u GLIBC_TUNABLES -u PB_SOURCETREK_TUNABLES ";
  if (tunables != nullptr) command += std::string("GLIBC_TUNABLES='") + tunables + "' ";
  command += std::string(PBST_HUGE_PAGE_PROBE) + " " + arguments + " 2>&1";
  std::string shown;
  if (FILE* probe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, probe) != nullptr) shown += buffer;
    pclose(probe);
  }
  return shown;
}

bool KernelWaitsForAdvice() {
  std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
  const std::string text((std::istreambuf_iterator<char>(mode)), std::istreambuf_iterator<char>());
  return text.find("[madvise]") != std::string::npos;
}

}  // namespace

TEST(HugePageHeap, AProgramStartsOnceMoreAndThenHasTheUsersEnvironmentNameAndArguments) {
  if (!KernelWaitsForAdvice()) GTEST_SKIP() << "the kernel does not wait for advice here";
  // The kernel names a process by the first 15 bytes of the file name it started.
  const std::string name = std::filesystem::path(PBST_HUGE_PAGE_PROBE).filename().string().substr(0, 15);
  const std::string kept =
      "restart's own: (unset)\nname: " + name + "\narguments: [one] [two words]\n";
  EXPECT_EQ(ProbeStartedWith(nullptr), "started again: yes\nnow: (unset)\n" + kept);
  EXPECT_EQ(ProbeStartedWith("glibc.malloc.arena_max=2"),
            "started again: yes\nnow: glibc.malloc.arena_max=2\n" + kept);
  // The user's own choice stands: no restart.
  EXPECT_EQ(ProbeStartedWith("glibc.malloc.hugetlb=0"),
            "started again: no\nnow: glibc.malloc.hugetlb=0\n" + kept);
}

// The heap's first part up to a 2 MB boundary takes only small pages; the restarted
// program skips it, so its first large block starts a huge page. Without the skip, a
// block starts there once in 512 starts.
TEST(HugePageHeap, TheRestartedProgramsBlocksStartOnAHugePage) {
  if (!KernelWaitsForAdvice()) GTEST_SKIP() << "the kernel does not wait for advice here";
  for (int start = 0; start < 3; ++start) {
    EXPECT_EQ(ProbeStartedWith(nullptr, "--heap"), "first large block on a 2 MB boundary: yes\n");
  }
}
