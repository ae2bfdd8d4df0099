#include "listings/block_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

// Small and huge-page sizes alike give writable memory of the whole size, the large ones
// aligned to the huge page that they ask for; a vector grows through them keeping values.
TEST(BlockMemory, BlocksOfEverySizeHoldTheirBytesAndVectorsGrowThroughThem) {
  for (const size_t bytes : {size_t{0}, size_t{1}, size_t{4096}, size_t{2} << 20, (size_t{5} << 20) + 3}) {
    SCOPED_TRACE(bytes);
    char* const block = static_cast<char*>(AllocateBlock(bytes));
    ASSERT_NE(block, nullptr);
    std::memset(block, 'x', bytes);
    if (bytes >= (size_t{2} << 20)) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % (size_t{2} << 20), 0u);
    }
    FreeBlock(block, bytes);
  }
  std::vector<uint64_t, BlockAllocator<uint64_t>> values;
  for (uint64_t value = 0; value < 600000; ++value) values.push_back(value * 7);
  EXPECT_EQ(values[599999], 599999u * 7);
  EXPECT_EQ(values[12345], 12345u * 7);
  EXPECT_THROW(AllocateBlock(SIZE_MAX - 1), std::bad_alloc);
}
