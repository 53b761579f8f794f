#pragma once

#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

#include "core/board.h"
#include "learning/weights.h"
#include "tests/support/random_play.h"

namespace vell::testing {

// A board from its text; the text is a constant of the test, so a typo fails at once.
inline Board FromText(const char* text) {
    Board board;
    if (!BoardFromText(text, board)) throw std::invalid_argument(text);
    return board;
}

// Column 0 holds empty, white, empty; every other square is black. Black can fill either empty
// square, turning the white stone; after that one empty square is left and nobody can move.
// White has no move here.
inline const char* const TwoEmptiesBoard =
    "-o-xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";

struct TestPosition {
    Board board;
    int side;
};

// Positions reached by random play from the start position (white first), from a fixed seed:
// for each game, every position after `firstMove` moves or more, with the side whose turn it is
// there. Passes are played as in the game; a game ends when neither side can move.
inline std::vector<TestPosition> RandomGamePositions(std::uint32_t seed, int games,
                                                     int firstMove = 0) {
    std::mt19937 rng(seed);
    std::vector<TestPosition> positions;
    for (int g = 0; g < games; ++g) {
        const GameHistory game = test::RandomGame(rng);
        for (int m = firstMove; m < game.moveCount; ++m)
            positions.push_back({game.boardAtPly[m], game.sideAtPly[m]});
    }
    return positions;
}

// Weights drawn from a fixed seed in [-range, range]: every pattern matters, none dominates.
inline WeightTable RandomWeights(std::uint32_t seed, int range = 300) {
    std::mt19937 rng(seed);
    WeightTable table(WeightTableSize);
    for (auto& w : table)
        w = static_cast<std::int16_t>(static_cast<int>(rng() % (2 * range + 1)) - range);
    return table;
}

}  // namespace vell::testing
