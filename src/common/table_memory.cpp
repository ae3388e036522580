#include "common/table_memory.hpp"

#include <cstdint>
#include <map>
#include <new>

#include "platform/memory.hpp"

namespace sarnik {
namespace {

// The size and the alignment of a piece: that of a huge page.
constexpr std::size_t kPieceSize = std::size_t{2} << 20;
// Larger requests (the index of a very long table) come from the general heap.
constexpr std::size_t kLargestCarved = kPieceSize / 8;

struct Piece {
  std::size_t used = 0;  // bytes carved, from the start
  std::size_t live = 0;  // carved blocks still in use
};

void delete_piece(std::uintptr_t base) {
  ::operator delete (reinterpret_cast<void*>(base), std::align_val_t{kPieceSize});
}

// The run is one thread; the pieces are the process's, keyed by address.
struct Pieces {
  std::map<std::uintptr_t, Piece> by_base;
  std::uintptr_t filling = 0;  // the piece being carved, 0 before the first

  // The piece kept for reuse is freed at exit like everything else.
  ~Pieces() {
    for (const auto& [base, piece] : by_base) {
      if (piece.live == 0) delete_piece(base);
    }
  }
};

Pieces& pieces() {
  static Pieces p;
  return p;
}

std::size_t carved_size(std::size_t bytes) {
  constexpr std::size_t kAlign = alignof(std::max_align_t);
  return (bytes + kAlign - 1) / kAlign * kAlign;
}

std::uintptr_t new_piece() {
  void* base = ::operator new (kPieceSize, std::align_val_t{kPieceSize});
  platform::advise_huge_pages(base, kPieceSize);
  const auto address = reinterpret_cast<std::uintptr_t>(base);
  pieces().by_base.emplace(address, Piece{});
  return address;
}

}  // namespace

void* allocate_table_memory(std::size_t bytes) {
  if (bytes > kLargestCarved) return ::operator new(bytes);
  const std::size_t size = carved_size(bytes);
  Pieces& all = pieces();
  if (all.filling == 0 || all.by_base.at(all.filling).used + size > kPieceSize) {
    if (all.filling != 0 && all.by_base.at(all.filling).live == 0) {
      delete_piece(all.filling);
      all.by_base.erase(all.filling);
    }
    all.filling = new_piece();
  }
  Piece& piece = all.by_base.at(all.filling);
  void* block = reinterpret_cast<void*>(all.filling + piece.used);
  piece.used += size;
  ++piece.live;
  return block;
}

void release_table_memory(void* p, std::size_t bytes) noexcept {
  if (bytes > kLargestCarved) {
    ::operator delete(p);
    return;
  }
  Pieces& all = pieces();
  const auto base = reinterpret_cast<std::uintptr_t>(p) & ~std::uintptr_t{kPieceSize - 1};
  const auto it = all.by_base.find(base);
  if (it == all.by_base.end() || --it->second.live > 0) return;
  if (base == all.filling) {
    it->second.used = 0;  // carved again from the start
  } else {
    delete_piece(base);
    all.by_base.erase(it);
  }
}

}  // namespace sarnik
