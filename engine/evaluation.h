#pragma once

#include "core/board.h"
#include "learning/weights.h"

namespace vell {

class Book;

// What the static evaluation reads besides the board, fixed for one thinking run.
struct EvalContext {
    // Player type of the game's side to move (not of the side at the node): 1 "CPU-1",
    // 2 "CPU-PAT1", 3 "CPU-PAT2"; any other type draws random numbers.
    int playerType = 1;
    // While set, every evaluation answers from the book, whatever the player type.
    bool bookMode = false;
    const Book* book = nullptr;            // null reads as an empty book
    const WeightTable* weights = nullptr;  // must be set for the pattern players
    // The weights as a forward table (MakeForwardWeights), or null: each search then makes one.
    const WeightTable* forwardWeights = nullptr;
};

// The static evaluation of `board` in evaluation units (1000 per stone, black's point of view).
// gameOver nonzero scores the final stone difference (for the formula and pattern players);
// `side` is the side to move at this node and only reaches the pattern evaluation.
// In book mode: 0 when the position is not in the book, its book value otherwise, with a stored
// value of exactly 0 reported as 1. Random types return the calling thread's next draw.
int EvaluatePosition(const EvalContext& context, const Board& board, int gameOver, int side);

}  // namespace vell
