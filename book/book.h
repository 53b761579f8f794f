#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "book/book_file.h"
#include "book/book_index.h"
#include "core/board.h"

namespace vell {

// The outcome of one lookup; `value` is sum x 1000 / count of the record found, else 0.
struct BookLookup {
    bool found = false;
    int index = -1;
    int value = 0;
};

// What became of one position given to AddGame. `message` is not empty exactly when the user
// should be told (the first "FULL" of a run, the first failed write); the caller shows it.
enum class BookAddOutcome { Updated, Appended, Full, Stopped };
struct BookAddResult {
    BookAddOutcome outcome = BookAddOutcome::Stopped;
    std::string message;
};

// Whether Load read the file; `message` says why not.
struct BookLoadStatus {
    bool ok = true;
    std::string message;
};

// The opening book: the records of its file in file order (record i is the 24 bytes at offset
// 24 x i), an index over them, and the file that every change is written to at once.
class Book {
  public:
    // New records one run of the program may add.
    static constexpr int AddLimit = 100000;

    // An empty book without a file; additions are refused.
    Book() = default;

    // Replaces the book with the records of `file` (whole records only; a trailing part
    // shorter than a record is ignored and the next record is written over it). A missing
    // file gives an empty book that creates the file with its first record. When the file
    // exists but cannot be read, or memory runs out, the book is empty, refuses additions and
    // the status says why.
    BookLoadStatus Load(const std::filesystem::path& file);

    // Finds the record of `board` (any of its eight images) among records of ply `ply`
    // (60 - empties). Safe to call from several threads while nobody adds.
    BookLookup Lookup(const Board& board, int ply) const;

    // Records one game's result (black stones minus white stones) for `board`: adds it to the
    // position's record in place, or appends a new record while this run has added fewer than
    // AddLimit. Each change is written to the file before the book in memory takes it; after a
    // failed write the book refuses every further addition, so memory and file never drift
    // apart. `board` holds only Black, White and Empty. Call only while no lookup runs on
    // another thread.
    BookAddResult AddGame(const Board& board, int result);

    int Count() const { return static_cast<int>(records.size()); }
    std::span<const BookRecord> Records() const { return records; }
    // New records this run may still add.
    int FreeRecords() const { return freeRecords; }
    const std::filesystem::path& File() const { return file; }

  private:
    // Refuses this and every later addition; the first refusal carries the reason.
    BookAddResult Stop(std::string reason);

    std::filesystem::path file;
    std::vector<BookRecord> records;
    BookIndex index;
    int freeRecords = AddLimit;
    bool fullReported = false;
    std::string stopReason;  // not empty once the file could not be read or written
    bool stopReported = false;
};

}  // namespace vell
