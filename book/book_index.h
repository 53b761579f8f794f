#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "book/book_file.h"

namespace vell {

// A hash index over the book's records, keyed by code and ply, giving the first record with
// that key: the one a scan from record 0 would find. It holds record numbers only; every call
// gets the records it indexes.
class BookIndex {
  public:
    // Indexes `records` afresh, sized so that the table can grow to `capacity` records before
    // it needs to rehash.
    void Build(std::span<const BookRecord> records, std::size_t capacity);

    // Adds records[index] unless an earlier record has the same key. Not safe while other
    // threads call Find.
    void Insert(std::span<const BookRecord> records, std::int32_t index);

    // The first record with this code and ply, or -1.
    std::int32_t Find(std::span<const BookRecord> records, const PositionCode& code, int ply) const;

  private:
    void Resize(std::span<const BookRecord> records, std::size_t slotCount);
    std::size_t Probe(std::span<const BookRecord> records, const PositionCode& code, int ply) const;

    std::vector<std::int32_t> slots;  // record numbers, -1 where empty; a power of two long
    std::size_t used = 0;
};

}  // namespace vell
