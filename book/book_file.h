#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "book/position_code.h"

namespace vell {

// One position of the book with the games that passed through it. In the file: count (int32),
// sum (int32), code (13 bytes), ply (int8), two padding bytes; little-endian, 24 bytes.
struct BookRecord {
    std::int32_t count = 0;  // games recorded through the position
    std::int32_t sum = 0;    // sum of their results (black stones minus white stones)
    PositionCode code{};
    std::int8_t ply = 0;                    // 60 - empty squares
    std::array<std::uint8_t, 2> padding{};  // carries no meaning; kept so rewrites keep it too
};

constexpr std::size_t BookRecordSize = 24;
using BookRecordBytes = std::array<std::uint8_t, BookRecordSize>;

BookRecordBytes EncodeBookRecord(const BookRecord& record);
BookRecord DecodeBookRecord(std::span<const std::uint8_t, BookRecordSize> bytes);

// The whole records of `bytes`, in order, with room for `spare` more; a trailing part shorter
// than a record is left out.
std::vector<BookRecord> DecodeBookRecords(std::span<const std::uint8_t> bytes,
                                          std::size_t spare = 0);

// The largest book value. The book move choice starts its candidates at -1000000000, so every
// legal move must score above that; a real average never comes near (64 stones is 64000).
constexpr int BookValueLimit = 999999999;

// The average result of the record in evaluation units: sum x 1000 / count, truncated toward
// zero, computed in 64 bits and kept within -BookValueLimit .. BookValueLimit, so a damaged
// record can neither overflow nor fall outside the book choice's window. A count of 0 gives 0.
int BookValue(const BookRecord& record);

// The whole records of a book file, with room for `spare` more; a trailing part shorter than a
// record is left out. A missing file is an empty book, not an error; `ok` is false only when
// the file exists but cannot be read, or memory runs out.
struct BookFileRead {
    bool ok = true;
    std::string message;
    std::vector<BookRecord> records;
};
BookFileRead ReadBookFile(const std::filesystem::path& file, std::size_t spare);

// Writes `record` as record `index` of `file` (bytes 24 x index to 24 x index + 23), where the
// book in memory holds `bookRecords` records and index <= bookRecords. Refuses, writing
// nothing, unless the file holds exactly bookRecords whole records (a missing file counts as
// none and is created), so a record never lands anywhere but its own place. Returns an empty
// string on success, else the reason.
std::string WriteBookRecord(const std::filesystem::path& file, std::size_t index,
                            const BookRecord& record, std::size_t bookRecords);

}  // namespace vell
