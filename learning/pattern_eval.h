#pragma once

#include <array>

#include "core/bitboard.h"
#include "core/board.h"
#include "learning/weights.h"

namespace vell {

// A position as the feature evaluation reads it: the board and the side to move.
struct PositionRecord {
    Board board{};
    int turn = Black;
};

// Builds the pattern tables, offsets and symmetry maps. Call once before any evaluation.
void InitPatterns();

// Evaluation units (1000 per disc, black's view) from the weights: 10 x the weight sum.
int PatternEvaluate(const PositionRecord& record, const WeightTable& weights);
// The same value from bitboards, for the search's leaves. Allocates nothing.
int PatternEvaluate(Bitboard black, Bitboard white, int turn, const WeightTable& weights);

}  // namespace vell
