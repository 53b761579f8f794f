#include "shell/flip_animation.h"

#include <algorithm>
#include <cstdlib>

namespace vell {

namespace {

// Squares between two squares along the lines of the board (king moves).
int Distance(int a, int b) {
    return std::max(std::abs(a / 8 - b / 8), std::abs(a % 8 - b % 8));
}

}  // namespace

bool FlipAnimation::Start(const Board& from, const Board& to, int durationMs) {
    running = false;
    int newStone = -1;
    for (int s = 0; s < 64; ++s) {
        if (from[s] == to[s] || from[s] != Empty) continue;
        if (to[s] == Empty || newStone >= 0) return false;
        newStone = s;
    }
    if (newStone < 0 || durationMs <= 0) return false;
    const int mover = to[newStone];
    int farthest = 0;
    for (int s = 0; s < 64; ++s) {
        if (s == newStone || from[s] == to[s]) continue;
        if (from[s] != 1 - mover || to[s] != mover) return false;
        farthest = std::max(farthest, Distance(s, newStone));
    }
    // Each stone turns in 60% of the time; the starts spread over the rest by distance.
    turnLength = std::max(1, durationMs * 3 / 5);
    const int spread = durationMs - turnLength;
    for (int s = 0; s < 64; ++s) {
        const bool turns = s != newStone && from[s] != to[s];
        delay[s] = !turns          ? -1
                   : farthest <= 1 ? 0
                                   : spread * (Distance(s, newStone) - 1) / (farthest - 1);
    }
    before = from;
    placed = newStone;
    duration = durationMs;
    running = true;
    return true;
}

double FlipAnimation::Turn(int square, int elapsedMs) const {
    if (!running || square < 0 || square >= 64 || delay[square] < 0) return -1;
    const double turned = double(elapsedMs - delay[square]) / turnLength;
    return std::clamp(turned, 0.0, 1.0);
}

}  // namespace vell
