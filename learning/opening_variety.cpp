#include "learning/opening_variety.h"

#include <atomic>
#include <memory>
#include <utility>

#include "core/board.h"
#include "core/settings.h"

namespace vell {

namespace {

// A well-mixed 64-bit value of a counter (splitmix64).
std::uint64_t Mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

}  // namespace

ThinkFunction WithRandomOpening(ThinkFunction think, int moves, std::uint64_t seed, bool always) {
    auto calls = std::make_shared<std::atomic<std::uint64_t>>(0);
    return [think = std::move(think), moves, seed, always, calls](const ThinkRequest& request,
                                                                  ThinkControl& control) {
        ThinkOutcome outcome = think(request, control);
        const bool training = always || request.settings[TrainingModeSetting] != 0;
        if (!training || outcome.result != ThinkMoveReady) return outcome;
        if (64 - CountStones(request.board)[Empty] >= 4 + moves) return outcome;
        LegalMap legal;
        const int count = CountLegalMoves(request.board, request.sideToMove, &legal);
        if (count == 0) return outcome;
        const std::uint64_t draw = Mix(seed ^ Mix(calls->fetch_add(1)));
        int pick = static_cast<int>(draw % static_cast<std::uint64_t>(count));
        for (int square = 0; square < 64; ++square) {
            if (!legal[square] || pick-- > 0) continue;
            outcome.square = square;
            outcome.message = RandomOpeningMessage;
            break;
        }
        return outcome;
    };
}

}  // namespace vell
