#pragma once

#include <climits>
#include <cstdint>

#include "core/board.h"
#include "core/think.h"
#include "engine/evaluation.h"

namespace vell {

// Outcomes of a search node that are not values; no value ever equals them.
constexpr int NoMove = INT_MIN;             // the side to move has no legal move
constexpr int CutOff = INT_MIN + 1;         // the node reached its beta: the move here is refuted
constexpr int NoImprovement = INT_MIN + 2;  // no move raised the node's alpha

// The window of every root call; all real values lie far inside it.
constexpr int SearchWindowLow = -1000000000;
constexpr int SearchWindowHigh = 1000000000;

// One thinking run's fixed-depth alpha-beta search: moves in square order, no ordering, no
// table, so every run with the same inputs visits the same nodes. The run owns its working
// values; several runs may search on different threads at once.
class SearchRun {
  public:
    // `control` (may be null) is polled for a stop request, and for a request to play now, which
    // ends this search the same way (the caller decides what to play).
    explicit SearchRun(const EvalContext& context, const ThinkControl* control = nullptr);

    // Searches `board` with `side` to move from the root (ply 0) and returns its value in black's
    // frame, or NoMove when the side has no legal move. (alpha, beta) is the root's window in its
    // own frame: negated for white. On return the root has set chosenSquare to the lowest square
    // among the moves of best value (-1 without a legal move). A pass costs no depth; a position
    // where neither side can move is scored as the end of the game. Leaves are nodes at ply
    // depthLimit. After a stop request the result means nothing and `aborted` is set.
    int Search(const Board& board, int side, int alpha, int beta);

    int depthLimit = 1;       // the ply at which nodes are evaluated statically; at least 1
    int chosenSquare = -1;    // written by the root at the end of its move loop
    std::uint64_t nodes = 0;  // Search calls made, the root and pass re-searches included
    bool aborted = false;     // a stop request was seen; nothing of the search is to be used

  private:
    EvalContext context;
    const ThinkControl* control;
    int abortCountdown = 1;
};

}  // namespace vell
