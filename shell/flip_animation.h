#pragma once

#include <array>

#include "core/board.h"

namespace vell {

// The picture of one move turning its stones over: the board as it was drawn before the move
// and the board after it, and for each turned stone when its turn starts and ends. Stones
// farther from the placed one start later; the last one ends after the whole duration. The
// game has already made the move: this only says what to draw at a moment.
class FlipAnimation {
  public:
    // Starts a picture of the move from `before` to `after` lasting `durationMs` when the two
    // differ by one move (one stone placed on an empty square, every other change a stone of
    // the other colour turned to the mover's). Returns false, and stays idle, otherwise.
    bool Start(const Board& before, const Board& after, int durationMs);
    void Finish() { running = false; }
    // Whether anything still moves `elapsedMs` after the start.
    bool Running(int elapsedMs) const { return running && elapsedMs < duration; }

    // How far the stone of `square` has turned at `elapsedMs`: -1 when it does not turn in
    // this move, else 0 (as before) to 1 (turned).
    double Turn(int square, int elapsedMs) const;
    // The colour the square showed before the move (Empty for the placed square).
    int Before(int square) const { return before[square]; }
    int PlacedSquare() const { return placed; }

  private:
    bool running = false;
    int duration = 0;
    int placed = -1;
    Board before{};
    std::array<int, 64> delay{};  // ms; -1 for a square that does not turn
    int turnLength = 1;           // ms each stone takes
};

}  // namespace vell
