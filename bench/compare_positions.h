// The positions vell_search_compare searches: random-game positions, and positions of
// computer self-play as a player meets them. Both are drawn from a seed, so runs repeat.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "core/board.h"
#include "learning/weights.h"

namespace vell::bench {

struct Position {
    Board board;
    int side;  // has a legal move
};

// Every position of one game of uniformly random moves from the start position, in the order
// of play; positions where the side to move must pass are left out.
std::vector<Position> RandomGame(std::mt19937& rng);

// Positions of "CPU-PAT2" self-play at the default depths (7, final 13), fast search, empty
// book, `weights`: each game opens with `openings` random plies drawn from `seed`; the position
// where the mover faces `empties[k]` empty squares goes to positions[k]. Games are played until
// every list holds `count` positions (games that end sooner give none), at most 50 x `count`
// games.
struct SelfPlay {
    std::vector<std::vector<Position>> positions;
    int games = 0;
};
SelfPlay SelfPlayPositions(const Weights& weights, std::uint32_t seed, int openings, int count,
                           const std::vector<int>& empties);

}  // namespace vell::bench
