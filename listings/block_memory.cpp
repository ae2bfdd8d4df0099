#include "listings/block_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

void* AllocateBlock(size_t bytes) {
  if (bytes > SIZE_MAX - kHugePage) throw std::bad_alloc();
  if (bytes < kHugePage) {
    if (void* block = std::malloc(bytes == 0 ? 1 : bytes)) return block;
    throw std::bad_alloc();
  }
  const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (block == nullptr) throw std::bad_alloc();
  // Only advice: where huge pages are off or refused, the pages stay small.
  madvise(block, rounded, MADV_HUGEPAGE);
  return block;
}

void FreeBlock(void* block) { std::free(block); }
