#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "core/board.h"
#include "core/game_record.h"
#include "tests/support/random_play.h"

namespace vell::test {

using Moves = std::vector<std::pair<int, int>>;  // (colour, square) in the order played

// A record of `moves` with the stored result `result`; the moves are not checked.
inline GameRecord RecordOf(const Moves& moves, int result) {
    GameRecord record;
    record.bytes[0] = static_cast<std::uint8_t>(static_cast<std::int8_t>(result));
    record.bytes[1] = static_cast<std::uint8_t>(moves.size());
    for (std::size_t k = 0; k < moves.size(); ++k)
        record.bytes[2 + k] = static_cast<std::uint8_t>(moves[k].first * 64 + moves[k].second);
    return record;
}

// The first `count` moves of a random legal game from the start position (fixed seed; a side
// without a move passes). Fewer when the game ends first.
inline Moves RandomMoves(unsigned seed, int count) {
    std::mt19937 random(seed);
    const GameHistory history = RandomGame(random, count);
    Moves moves;
    for (int m = 1; m <= history.moveCount; ++m)
        moves.emplace_back(history.sideAtPly[m - 1], history.SquareOfMove(m));
    return moves;
}

// A 60-move record that fills the empty squares in square order, white and black in turn. Real
// games here rarely fill the board, but training replays a record without judging its moves.
inline Moves FillingMoves() {
    Moves moves;
    const Board start = StartPosition();
    for (int s = 0; s < 64; ++s)
        if (start[s] == Empty) moves.emplace_back(moves.size() % 2 == 0 ? White : Black, s);
    return moves;
}

// The moves of the first random legal game (seeds 1, 2, ...) that lasts exactly `count` moves.
inline Moves RandomGameOfLength(int count) {
    for (unsigned seed = 1; seed < 100000; ++seed) {
        Moves moves = RandomMoves(seed, 61);
        if (static_cast<int>(moves.size()) == count) return moves;
    }
    return {};
}

// A 50-move game of "CPU-1" against itself at depths 3 and 8, won 32 to 22 by black. From zero
// weights, a single pass of the fixed 1/3000 step takes its error from 83.3 to millions.
inline const Moves Cpu1Game = {
    {White, 19}, {Black, 34}, {White, 44}, {Black, 29}, {White, 18}, {Black, 12}, {White, 37},
    {Black, 42}, {White, 25}, {Black, 10}, {White, 43}, {Black, 17}, {White, 21}, {Black, 11},
    {White, 5},  {Black, 3},  {White, 13}, {Black, 2},  {White, 20}, {Black, 26}, {White, 51},
    {Black, 52}, {White, 33}, {Black, 4},  {White, 45}, {Black, 9},  {White, 41}, {Black, 32},
    {White, 24}, {Black, 50}, {White, 22}, {Black, 14}, {White, 30}, {Black, 16}, {White, 40},
    {Black, 59}, {White, 58}, {Black, 38}, {White, 46}, {Black, 60}, {White, 61}, {Black, 53},
    {White, 6},  {Black, 7},  {Black, 15}, {White, 49}, {Black, 54}, {White, 48}, {Black, 56},
    {Black, 57}};
constexpr int Cpu1GameResult = 10;

}  // namespace vell::test
