#pragma once

#include <array>
#include <cstdint>

#include "core/bitboard.h"
#include "core/board.h"
#include "learning/weights.h"

namespace vell {

// A position as the feature evaluation reads it: the board and the side to move.
struct PositionRecord {
    Board board{};
    int turn = Black;
};

// One pattern: its squares in reading order k = 0..n-1, which fixes the meaning of every
// weight of its block. square = column * 8 + row.
struct PatternDef {
    std::array<std::int16_t, 10> column{}, row{};
    std::int16_t n = 0;
    std::int16_t flags = 0;  // bit 0: the pattern is read under all eight symmetries
    std::array<std::int16_t, 10> square{};
    std::int16_t symmetries = 0;  // instances per position: symmetry maps 0 .. symmetries-1
};

constexpr int PatternCount = 11;
constexpr int PatternInstances = 46;  // instances of all patterns in one position
constexpr int StageCount = 1;         // weight sets; a stage past the last reads the last

// The pattern table with its squares and symmetry counts, the weight block of each pattern
// and the symmetry maps (map j takes a square to a square, numbered as in board_symmetry.h).
// All are compile-time constants.
extern const std::array<PatternDef, PatternCount> Patterns;
extern const std::array<int, PatternCount> PatternOffsets;
extern const std::array<std::array<std::int8_t, 64>, 8> SymmetryTable;

// Start-up hook before the first evaluation. The tables are compile-time constants, so it only
// checks them in debug builds.
void InitPatterns();

// The weight index within pattern i's block of instance j (symmetry map j): the smaller of the
// pattern's squares read forward and backward as base-3 numbers (digit 0 black, 1 white,
// 2 empty, square 0 least significant). 0 <= i < PatternCount, 0 <= j < Patterns[i].symmetries.
int PatternIndex(int pattern, int symmetry, const PositionRecord& record);

// k = 0: black's legal moves minus white's, whoever is to move. k = 1: the parity, 1 when the
// number of empty squares is odd, negated when white is to move, else 0.
int ScalarFeature(int k, const PositionRecord& record);

// The weight set of a board: (60 - empties) / 60, at least 0 and at most StageCount - 1, so a
// full board reads stage 0.
int StageOf(const Board& board);
// Stones on the board when stage a begins: 60 a + 4.
constexpr int StageStartStones(int stage) {
    return 60 * stage + 4;
}

// Evaluation units (1000 per disc, black's view) from the weights: 10 x the weight sum.
int PatternEvaluate(const PositionRecord& record, const WeightTable& weights);
// The same value from bitboards, for the search's leaves. Allocates nothing.
int PatternEvaluate(Bitboard black, Bitboard white, int turn, const WeightTable& weights);

// What the training pass needs of the last position it evaluated: the 46 weight indices used
// (pattern 0 under maps 0-3, pattern 1 under maps 0-3, ... pattern 10), the mobility and the
// parity feature. Each training run owns its own.
struct TrainingScratch {
    std::array<std::int32_t, PatternInstances> weightIndex{};
    std::int32_t mobility = 0;
    std::int32_t parity = 0;
};

// PatternEvaluate's weight sum for `stage` (0 <= stage < StageCount) times 1000, that is in
// 1/100000 disc, and the features it used in `scratch`. 64 bits: any weights fit.
std::int64_t PatternEvaluateForTraining(const PositionRecord& record, int stage,
                                        const WeightTable& weights, TrainingScratch& scratch);

}  // namespace vell
