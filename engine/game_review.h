#pragma once

#include <array>
#include <cstddef>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "core/board.h"
#include "core/history.h"
#include "core/player_names.h"
#include "core/think.h"
#include "engine/evaluation.h"
#include "engine/fast_search.h"
#include "engine/search.h"
#include "learning/weights.h"

namespace vell {

// Marks of a reviewed move by its loss (evaluation units, 1000 per stone): from 2 stones
// "?!", from 5 stones "?", from 10 stones "??". The 5 and 10 stones are the steps of the
// verdict wording, so a "??" can turn "とっても有利です。" into "互角です。" on its own.
constexpr int DubiousLoss = 2000;
constexpr int MistakeLoss = 5000;
constexpr int BlunderLoss = 10000;

enum class ReviewMark { None, Dubious, Mistake, Blunder };

// The mark of a loss (0 or more) by the thresholds above.
ReviewMark MarkOfLoss(int loss);
// "", "?!", "?" or "??".
std::string_view MarkText(ReviewMark mark);

// One root search as the think runs it: `board` with `side` to move from ply 0, leaves at
// `depthLimit` (1 or more) plies, passes costing no depth, the full root window. `value` is the
// root value in black's frame, or NoMove when `side` has no legal move; after a stop request
// through `control` (polled while searching) `aborted` is set and the value means nothing.
struct RootSearchResult {
    int value = 0;
    std::uint64_t nodes = 0;
    bool aborted = false;
};
using RootSearch =
    std::function<RootSearchResult(const EvalContext& context, const Board& board, int side,
                                   int depthLimit, const ThinkControl& control)>;

// The plain alpha-beta search of the think (SearchRun), the reference every other root search
// must agree with on the value.
RootSearch PlainRootSearch();

// The exact fast search (FastSearchRun) with the same values as PlainRootSearch; its node counts
// are its own. The returned search owns a table pool of `tableBytes`, whose table takes `advice`;
// calls made at the same time from two threads each get a table of their own.
RootSearch FastRootSearch(std::size_t tableBytes = DefaultTableBytes,
                          TableMemoryAdvice advice = nullptr);

// What a game is reviewed with: the player type whose evaluation judges each side's moves
// (indexed by colour) and the two depth settings, used as the think uses them.
struct ReviewOptions {
    std::array<int, 2> playerTypes{CpuPat2Player, CpuPat2Player};
    int normalDepth = 7;
    int finalDepth = 13;
};

// The player type a side is reviewed with: a computer player's own evaluation, "CPU-PAT2" for a
// person and for "CPU-1-2", whose random evaluations value nothing.
int ReviewPlayerType(int playerType);

// One move of the game. Values are from the mover's side in evaluation units (those of the
// verdict texts); with `readToEnd` they are the exact final results of best play.
struct MoveReview {
    int moveNumber = 0;  // 1..moveCount of the history; passes are not moves
    int side = Black;    // the mover
    int played = -1;     // the square played
    int playedValue = 0;
    int best = -1;  // the lowest square of the best value
    int bestValue = 0;
    int loss = 0;  // bestValue - playedValue, never negative
    ReviewMark mark = ReviewMark::None;
    int depthLimit = 0;  // of the search from the position before the move
    bool readToEnd = false;
    // Every legal move's value by square; NoMove on the squares that are not legal moves.
    std::array<int, 64> values{};
};

// Sums over one side's reviewed moves.
struct SideReview {
    int moves = 0;
    long long totalLoss = 0;
    int marks = 0;  // moves with any mark
    // The mean loss in evaluation units, rounded to the nearest; 0 without moves.
    int AverageLoss() const;
};

enum class ReviewStatus {
    Done,
    Aborted,      // the abort flag was set; `moves` holds the moves reviewed before
    IllegalMove,  // move `badMove` is not a legal move of its colour in the history
};

struct GameReview {
    ReviewStatus status = ReviewStatus::Done;
    int badMove = 0;
    std::vector<MoveReview> moves;      // in the order of the game
    std::array<SideReview, 2> sides{};  // by colour
    std::uint64_t nodes = 0;
};

// Called after each reviewed move with the number reviewed so far and the game's move count.
using ReviewProgress = std::function<void(int reviewed, int total)>;

// Reviews moves 1..moveCount of `history`: for each, every legal move of the mover is searched
// as the think would search it as a root move for the mover's player type (ReviewPlayerType of
// options.playerTypes[mover]) at the depth the think takes for that position (the normal depth,
// or a read to the end once the empty squares are within the final depth); the book is not
// consulted. A game the think played for those player types and depths without a book has loss
// 0 on every move. `weights` serves the pattern players (the pattern tables must be ready,
// InitPatterns). Runs on any thread; `abort` (may be null) is polled while searching, and the
// progress callback (may be empty) runs on the calling thread. Nothing shared is changed.
GameReview ReviewGame(const GameHistory& history, const ReviewOptions& options,
                      const WeightTable& weights, const RootSearch& search,
                      const std::atomic<bool>* abort = nullptr,
                      const ReviewProgress& progress = {});

}  // namespace vell
