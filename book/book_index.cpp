#include "book/book_index.h"

#include <algorithm>
#include <bit>

namespace vell {

namespace {

constexpr std::int32_t EmptySlot = -1;

std::uint64_t HashKey(const PositionCode& code, int ply) {
    std::uint64_t low = 0, high = static_cast<std::uint8_t>(ply);
    for (int i = 0; i < 8; ++i)
        low |= std::uint64_t{code[i]} << (8 * i);
    for (int i = 8; i < 13; ++i)
        high |= std::uint64_t{code[i]} << (8 * (i - 7));
    std::uint64_t h = low * 0x9E3779B97F4A7C15ULL ^ high * 0xC2B2AE3D27D4EB4FULL;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ULL;
    return h ^ (h >> 32);
}

bool SameKey(const BookRecord& record, const PositionCode& code, int ply) {
    return record.ply == ply && record.code == code;
}

// Keeps the table at most half full.
std::size_t SlotsFor(std::size_t records) {
    return std::bit_ceil(2 * records + 16);
}

}  // namespace

void BookIndex::Build(std::span<const BookRecord> records, std::size_t capacity) {
    slots.assign(SlotsFor(std::max(capacity, records.size())), EmptySlot);
    used = 0;
    for (std::size_t i = 0; i < records.size(); ++i)
        Insert(records, static_cast<std::int32_t>(i));
}

void BookIndex::Resize(std::span<const BookRecord> records, std::size_t slotCount) {
    std::vector<std::int32_t> old(slotCount, EmptySlot);
    old.swap(slots);
    for (std::int32_t index : old) {
        if (index == EmptySlot) continue;
        const BookRecord& record = records[static_cast<std::size_t>(index)];
        slots[Probe(records, record.code, record.ply)] = index;
    }
}

std::size_t BookIndex::Probe(std::span<const BookRecord> records, const PositionCode& code,
                             int ply) const {
    const std::size_t mask = slots.size() - 1;
    std::size_t slot = HashKey(code, ply) & mask;
    while (slots[slot] != EmptySlot &&
           !SameKey(records[static_cast<std::size_t>(slots[slot])], code, ply))
        slot = (slot + 1) & mask;
    return slot;
}

void BookIndex::Insert(std::span<const BookRecord> records, std::int32_t index) {
    if (SlotsFor(used + 1) > slots.size()) Resize(records, SlotsFor(used + 1));
    const BookRecord& record = records[static_cast<std::size_t>(index)];
    const std::size_t slot = Probe(records, record.code, record.ply);
    if (slots[slot] != EmptySlot) return;  // an earlier record holds this key
    slots[slot] = index;
    ++used;
}

std::int32_t BookIndex::Find(std::span<const BookRecord> records, const PositionCode& code,
                             int ply) const {
    if (slots.empty()) return -1;
    return slots[Probe(records, code, ply)];
}

}  // namespace vell
