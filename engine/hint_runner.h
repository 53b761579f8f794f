#pragma once

#include <optional>
#include <string>

#include "core/board.h"
#include "core/game_flow.h"
#include "core/player_names.h"
#include "core/think.h"
#include "core/worker_job.h"

namespace vell {

// The player type whose evaluation a hint thinks with: the blend of the hand-made formula and
// the learned patterns, whatever types the two sides have.
constexpr int HintPlayerType = CpuPat1Player;

// What a finished hint says: the side it was asked for, the suggested square (-1 when the
// think found none) and the think's verdict text.
struct HintResult {
    int side = White;
    int square = -1;
    std::string verdict;
};

// Advice for a person to move: the think runs on a private copy of the position on its own
// worker thread and with its own stop flag, and never plays. It watches the flow only through
// the flow's public accessors: Update, called after every tick, command and click, drops the
// hint as soon as the flow no longer waits for the same person's move in the same position
// (a move, navigation, a pause), so a stale suggestion is never shown.
class HintRunner {
  public:
    // `think` as the computer players use it; `startWorker` runs a body on a new thread.
    HintRunner(ThinkFunction think, WorkerStarter startWorker);
    HintRunner(const HintRunner&) = delete;
    HintRunner& operator=(const HintRunner&) = delete;

    // A person is to move with a legal move, the flow waits for it, and no hint is thinking.
    bool CanStart(const GameFlow& flow) const;
    // Starts a hint for the displayed position; false (nothing started) unless CanStart.
    bool Start(const GameFlow& flow);

    // Follows the flow: a hint whose position or turn has gone is stopped and its result
    // dropped. Returns the result once, when a hint for the current turn has finished.
    std::optional<HintResult> Update(const GameFlow& flow);

    // The square to mark on the board for the current turn, or -1.
    int SuggestedSquare() const { return suggested; }
    // A hint is thinking for the current turn.
    bool Thinking() const;
    // A hint's think (current or dropped) has not ended yet; no other hint starts until it has.
    bool Busy() const;

  private:
    // What a hint was asked for: the position and turn, and where in the game it stood.
    struct Turn {
        ThinkRequest request;
        int ply = 0;
        int moveCount = 0;
    };
    bool SameTurn(const GameFlow& flow) const;
    void Drop();

    ThinkFunction think;
    WorkerStarter startWorker;
    int suggested = -1;
    // The hint of the current turn, thinking or done; last, so a running think ends first.
    WorkerSlot<Turn, ThinkOutcome> hints;
};

}  // namespace vell
