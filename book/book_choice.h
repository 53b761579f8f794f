#pragma once

#include <cstdint>

#include "core/board.h"
#include "core/random.h"

namespace vell {

// The move taken from the opening book. `legalMoves` is 0 when the side has no legal move; then
// `square` is -1 and `value` carries nothing. `value` is the chosen move's candidate value from
// the mover's point of view; `bestMove` is false only when training took the second-best move.
struct BookChoice {
    int square = -1;
    int value = 0;
    bool bestMove = true;
    int legalMoves = 0;
};

// Tries every legal move of `side` in square order and scores each child with
// evaluate(child, 0, 1 - side), the static evaluation in book mode (black's view; 0 means not in
// the book), negated for white. The best candidate is the first strictly greatest value; a second
// candidate appears only when a later move takes the best place from an earlier one, and then
// follows the best-but-one value. Candidates start at `alpha`.
// With `training` on, the calling thread's generator is reseeded with nowSeconds + one draw on
// every call, and when a second candidate exists one more draw picks it if odd.
template <class Evaluate>
BookChoice ChooseBookMove(const Board& board, int side, int alpha, bool training,
                          std::uint32_t nowSeconds, Evaluate&& evaluate) {
    int bestSquare = -1, bestValue = alpha;
    int secondSquare = -1, secondValue = alpha;
    int legalMoves = 0;
    Board child;
    for (int s = 0; s < 64; ++s) {
        if (board[s] != Empty) continue;
        if (TryMove(board, child, s, side) == 1) continue;
        ++legalMoves;
        int v = evaluate(static_cast<const Board&>(child), 0, 1 - side);
        if (side == White) v = -v;
        if (v > bestValue) {
            secondSquare = bestSquare;
            secondValue = bestValue;
            bestSquare = s;
            bestValue = v;
        } else if (secondSquare != -1 && v > secondValue) {
            secondSquare = s;
            secondValue = v;
        }
    }
    if (training) {
        SeedRandom(nowSeconds + static_cast<std::uint32_t>(Random()));
        if (secondSquare != -1 && (Random() & 1) != 0)
            return {secondSquare, secondValue, false, legalMoves};
    }
    return {bestSquare, bestValue, true, legalMoves};
}

}  // namespace vell
