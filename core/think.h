#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "core/board.h"
#include "core/settings.h"

namespace vell {

// Think result codes.
constexpr int ThinkPending = 0;
constexpr int ThinkMoveReady = 2;
constexpr int ThinkAborted = -1;
constexpr int ThinkNoMove = -2;

// What a think works on: private copies taken on the window thread when the turn starts.
struct ThinkRequest {
    Board board{};
    int sideToMove = White;
    Settings settings = DefaultSettings;
};

// What a think hands back: `result` as above, `square` the move when result is ThinkMoveReady.
struct ThinkOutcome {
    int result = ThinkPending;
    int square = -1;
    std::string message;
};

// The worker's view of its turn: the abort flag, and the status panes, which it may write
// from its own thread (the services carry the text over to the window thread).
class ThinkControl {
  public:
    virtual ~ThinkControl() = default;
    virtual bool AbortRequested() const = 0;
    virtual void ShowPaneText(int pane, const std::string& text) = 0;
    // The depth a deepening search has finished; the flow shows it beside the time thought.
    virtual void ReportDepth(int /*depth*/) {}
    // Asks a deepening search to stop and play the best move of its deepest completed depth
    // (the player's "play now", or the time limit running out).
    virtual bool PlayNowRequested() const { return false; }
};

// The computer player's decision, run on a worker thread, one call per computer turn.
using ThinkFunction = std::function<ThinkOutcome(const ThinkRequest&, ThinkControl&)>;

// Runs one think on the worker. A think that throws (out of memory, say) reports no move, so
// the turn ends with the error message instead of the exception ending the program.
inline ThinkOutcome RunThink(const ThinkFunction& think, const ThinkRequest& request,
                             ThinkControl& control) {
    try {
        return think(request, control);
    } catch (...) {
        return ThinkOutcome{ThinkNoMove, -1, {}};
    }
}

}  // namespace vell
