#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace zelvo::engine {

// The allocator of record tables that only grow and whose records are all
// zero bytes by default (MusicNote, times). Its memory comes from calloc,
// whose large blocks are the system's zero pages, and a record made with no
// value is not written: its bytes are zero already. So a table of room for
// a long piece costs nothing until a job writes into it. A table that
// shrank and grew again would show its old records: these tables never
// shrink (grow_to only grows them).
template <typename T>
class ZeroedAllocator {
 public:
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "records made of plain values");
  using value_type = T;

  ZeroedAllocator() = default;
  template <typename U>
  ZeroedAllocator(const ZeroedAllocator<U>& /*other*/) {}  // NOLINT: allocators convert

  T* allocate(size_t n) {
    void* memory = std::calloc(n, sizeof(T));
    if (memory == nullptr) throw std::bad_alloc();
    return static_cast<T*>(memory);
  }
  void deallocate(T* memory, size_t /*n*/) { std::free(memory); }

  // A record with no value: the zero bytes calloc gave.
  template <typename U>
  void construct(U* /*record*/) noexcept {}
  template <typename U, typename... Args>
  void construct(U* record, Args&&... args) {
    ::new (static_cast<void*>(record)) U(std::forward<Args>(args)...);
  }

  template <typename U>
  bool operator==(const ZeroedAllocator<U>& /*other*/) const {
    return true;
  }
};

template <typename T>
using ZeroedTable = std::vector<T, ZeroedAllocator<T>>;

}  // namespace zelvo::engine
