#pragma once

#include <array>
#include <cstdint>

#include "core/board.h"

namespace vell {

// The outcome of one lookup; `value` is sum x 1000 / count of the record found, else 0.
struct BookLookup {
    bool found = false;
    int index = -1;
    int value = 0;
};

class Book {
public:
    // Finds the record of `board` (any of its eight images) among records of ply `ply`
    // (60 - empties). Safe to call from several threads while nobody adds.
    BookLookup Lookup(const Board& board, int ply) const;
};

}  // namespace vell
