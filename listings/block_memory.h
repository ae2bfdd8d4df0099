// Memory for large arrays that are filled once and then read: an allocation of 2 MB or
// more asks the kernel for huge pages, so that filling it costs one page fault per 2 MB
// instead of one per 4 KB (on a virtual machine a fault costs microseconds).
#pragma once

#include <cstddef>

/// `bytes` bytes (at least one), aligned for any type; huge pages asked for when they are
/// many. Throws `std::bad_alloc` when there is no memory. Free with `FreeBlock`.
void* AllocateBlock(size_t bytes);

/// Frees what `AllocateBlock(bytes)` gave; nothing for nullptr.
void FreeBlock(void* block, size_t bytes);

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
  void deallocate(T* values, size_t count) { FreeBlock(values, count * sizeof(T)); }
  /// Every block allocator frees what any other gave.
  template <typename U>
  bool operator==(const BlockAllocator<U>&) const { return true; }
  /// Never unequal, as `operator==` says.
  template <typename U>
  bool operator!=(const BlockAllocator<U>&) const { return false; }
};
