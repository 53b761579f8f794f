#pragma once

#include <string>

#include "book/book.h"
#include "core/board.h"

namespace vell {

// The text of the "BOOK評価値" message box for `board`: the book value of the position (black's
// view, thousandths of a stone; a stored average of 0 shows as 0) or "ブックにありません。" when
// the position is not in the book.
inline std::string BookValueMessage(const Book& book, const Board& board) {
    const BookLookup lookup = book.Lookup(board, 60 - CountStones(board)[Empty]);
    return lookup.found ? std::to_string(lookup.value) : std::string("ブックにありません。");
}

}  // namespace vell
