#pragma once

#include <atomic>
#include <functional>

#include "core/game_flow.h"
#include "core/history.h"
#include "core/worker_job.h"
#include "engine/game_review.h"

namespace vell {

// A whole review as the front end runs it: the weights and the root search are bound in.
using ReviewFunction =
    std::function<GameReview(const GameHistory&, const ReviewOptions&,
                             const std::atomic<bool>* abort, const ReviewProgress& progress)>;

// The options of a review of the game in `flow`: each side's player type as ReviewPlayerType
// makes it, the current normal and final depths.
ReviewOptions ReviewOptionsOf(const Settings& settings);

// Reviews the game of a flow on its own worker thread with a private copy of the history and the
// weights published when it starts, so the game, the logs, the weights and the book are never
// changed and training goes on beside it. A review starts only while the flow waits (stopped, or
// for a person's move), one at a time. A move, a new game or a changed player or depth drops the
// review and its result; navigating within the game keeps it.
class ReviewRunner {
  public:
    ReviewRunner(ReviewFunction review, WorkerStarter startWorker);
    ReviewRunner(const ReviewRunner&) = delete;
    ReviewRunner& operator=(const ReviewRunner&) = delete;

    // The game has a move, no review runs and the flow is not about to move.
    bool CanStart(const GameFlow& flow) const;
    // Starts a review of the flow's game; false (nothing started) unless CanStart.
    bool Start(const GameFlow& flow);
    // Asks a running review to stop; its partial result is dropped.
    void Cancel();

    // Follows the flow: a review whose game or settings have changed is dropped. True once,
    // when the review of the current game has just finished.
    bool Update(const GameFlow& flow);

    // The finished review of the current game, or null.
    const GameReview* Result() const;
    // The review of the shown position's move (the position before it), or null.
    const MoveReview* ShownMove(const GameFlow& flow) const;
    // A review of the current game is running; `reviewed` / `total` its progress.
    bool Running() const;
    int Reviewed() const;
    int Total() const;
    // A review thread (current or dropped) has not ended yet.
    bool Busy() const;

  private:
    // What a review was asked for: a private copy of the game and the options.
    struct Game {
        GameHistory history;
        ReviewOptions options;
    };
    bool SameGame(const GameFlow& flow) const;

    ReviewFunction review;
    WorkerStarter startWorker;
    // The review of the current game; last, so a running review ends first.
    WorkerSlot<Game, GameReview> reviews;
};

}  // namespace vell
