// Memory for the frame tables of all inputs (see AdtsInput). A long input
// holds millions of entries, written once each as the scan goes: they are
// carved from pieces of 2 MiB that the system may back with huge pages, so
// that filling them takes one page fault a piece instead of one every 4 KiB
// (on some machines a page fault takes as long as reading 150 KiB of a
// cached file).
// One piece at a time is being filled, for all tables together, so that the
// memory held is the entries and at most one piece more; a piece is given
// back once nothing in it is in use.
#pragma once

#include <cstddef>
#include <deque>

namespace sarnik {

void* allocate_table_memory(std::size_t bytes);
void release_table_memory(void* p, std::size_t bytes) noexcept;

template <class T>
struct TableAllocator {
  using value_type = T;

  TableAllocator() = default;
  template <class U>
  TableAllocator(const TableAllocator<U>&) noexcept {}  // NOLINT: rebinding is implicit

  T* allocate(std::size_t n) { return static_cast<T*>(allocate_table_memory(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { release_table_memory(p, n * sizeof(T)); }
};

// A table that grows in small pieces, never to twice what it holds.
template <class T>
using Table = std::deque<T, TableAllocator<T>>;

}  // namespace sarnik
