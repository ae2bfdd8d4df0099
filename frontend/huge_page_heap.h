// The programs' heap on huge pages. A listing of a large project fills a hundred megabytes
// of fresh memory: at 4 KB a page, every page costs a fault (microseconds on a virtual
// machine) and the many pages miss the address cache. Where the kernel gives huge pages
// only to memory that asks for them (transparent_hugepage "madvise", the default of many
// distributions), glibc's malloc asks for them when its tunable glibc.malloc.hugetlb=1 is
// set, and glibc reads tunables only when a program starts. So a program starts itself
// once more with the tunable set, keeping its process, name, arguments and open files.
#pragma once

#include <string>
#include <string_view>

/// Called first in main, before any output or input: starts this program again with the
/// tunable when `ShouldRestartOnHugePages` says so. Returns in the program that goes on:
/// the restarted one, with GLIBC_TUNABLES put back as it was so that the programs it
/// starts (the IDE) do not inherit it, or this one when no restart is asked for or the
/// start fails.
void StartOnHugePages(char** argv);

/// True when a restart gains huge pages: the kernel's mode (the text of
/// /sys/kernel/mm/transparent_hugepage/enabled) has "madvise" chosen, GLIBC_TUNABLES
/// (`tunables`, null when unset) does not set the tunable already (also not to 0, which
/// is the user's choice), and nothing is preloaded (`preload`, LD_PRELOAD, null when
/// unset): a preloaded malloc ignores the tunable, and valgrind, which preloads its own,
/// would lose the program at the restart.
bool ShouldRestartOnHugePages(std::string_view kernel_mode, const char* tunables,
                              const char* preload);

/// GLIBC_TUNABLES for the restart: the one that asks for huge pages and the heap's sizes
/// that suit them, then the user's tunables (null when unset), which win over ours.
std::string TunablesWithHugePages(const char* tunables);
