// Memory for large arrays that are filled once and then read: an allocation of 2 MB or
// more asks the kernel for huge pages, so that filling it costs one page fault per 2 MB
// instead of one per 4 KB (on a virtual machine a fault costs microseconds).
#pragma once

#include <cstddef>
#include <memory>

/// `bytes` bytes (at least one), aligned for any type; huge pages asked for when they are
/// many. Throws `std::bad_alloc` when there is no memory. Free with `FreeBlock`.
void* AllocateBlock(size_t bytes);

/// Frees what `AllocateBlock` gave; nothing for nullptr.
void FreeBlock(void* block);

/// Deleter of a block that `AllocateBlock` gave.
struct BlockDeleter {
  void operator()(char* block) const { FreeBlock(block); }
};

/// An owned block of bytes from `AllocateBlock`.
using Block = std::unique_ptr<char[], BlockDeleter>;

/// An allocator of `AllocateBlock` memory for the standard containers.
template <typename T>
struct BlockAllocator {
  using value_type = T;
  BlockAllocator() = default;
  /// The same allocator for another type.
  template <typename U>
  BlockAllocator(const BlockAllocator<U>&) {}  // NOLINT: implicit, as allocators convert
  /// Room for `count` values of T.
  T* allocate(size_t count) { return static_cast<T*>(AllocateBlock(count * sizeof(T))); }
  /// Frees room that `allocate` gave.
  void deallocate(T* values, size_t) { FreeBlock(values); }
  /// Every block allocator frees what any other gave.
  template <typename U>
  bool operator==(const BlockAllocator<U>&) const { return true; }
  /// Never unequal, as `operator==` says.
  template <typename U>
  bool operator!=(const BlockAllocator<U>&) const { return false; }
};
