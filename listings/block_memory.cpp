#include "listings/block_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

size_t RoundedToHugePages(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* AllocateBlock(size_t bytes) {
  if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
  if (bytes < kHugePage) {
    if (void* block = std::malloc(bytes == 0 ? 1 : bytes)) return block;
    throw std::bad_alloc();
  }
  // Mapped on its own, so that freeing it gives it back: blocks taken from the heap left
  // holes there that the rows of a kept list broke up, and each further listing filled
  // fresh blocks again. One huge page more is mapped, to cut an aligned run out of it.
  const size_t rounded = RoundedToHugePages(bytes);
  void* const mapped = mmap(nullptr, rounded + kHugePage, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t block = (start + kHugePage - 1) / kHugePage * kHugePage;
  const size_t head = block - start;
  if (head > 0) munmap(mapped, head);
  munmap(reinterpret_cast<void*>(block + rounded), kHugePage - head);
  // Only advice: where huge pages are off or refused, the pages stay small.
  madvise(reinterpret_cast<void*>(block), rounded, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(block);
}

void FreeBlock(void* block, size_t bytes) {
  if (bytes < kHugePage) {
    std::free(block);
  } else if (block != nullptr) {
    munmap(block, RoundedToHugePages(bytes));
  }
}
