#include "frontend/huge_page_heap.h"

#include <gtest/gtest.h>

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

TEST(HugePageHeap, TheTunableFollowsTheUsersOwn) {
  EXPECT_EQ(TunablesWithHugePages(nullptr), "glibc.malloc.hugetlb=1");
  EXPECT_EQ(TunablesWithHugePages(""), "glibc.malloc.hugetlb=1");
  EXPECT_EQ(TunablesWithHugePages("glibc.malloc.arena_max=2"),
            "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1");
}
