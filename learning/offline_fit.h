#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/game_record.h"
#include "learning/pattern_eval.h"
#include "learning/weights.h"

namespace vell {

// One position of a finished game, with the side of the move played from it, and the game's
// result (black minus white stones).
struct FitSample {
    PositionRecord position;
    int result = 0;
};

// Appends the positions that a training pass reads from `record` (before moves 0..N-1, at most
// 60), each with the record's result.
void AppendGameSamples(const GameRecord& record, std::vector<FitSample>& samples);

struct FitOptions {
    int epochs = 8;
    // The share of each position's error that one visit corrects, falling linearly from the
    // first epoch's rate to the last's.
    double firstRate = 0.02;
    double lastRate = 0.002;
    // The last holdOut share of the samples is never fitted; its error shows how well the fit
    // carries over to games it has not seen.
    double holdOut = 0.05;
    // Ridge penalty on the pattern weights, in positions: a weight pulled toward 0 as strongly as
    // by that many positions whose result it predicts exactly. Weights of rare configurations,
    // seen in a few games, then stay small instead of fitting those games' noise.
    double ridge = 0.0;
    std::uint32_t seed = 1;
};

// Mean squared error in squared discs of an epoch: of the fitted samples as they were visited,
// and of the held-out samples at the end.
struct FitEpoch {
    int epoch = 0;
    double fitError = 0.0;
    double holdOutError = 0.0;
};

// A least-squares fit of all weights to the samples' results, offline, over many games at once:
// stochastic gradient descent in double precision, each visit moving the position's prediction
// by the rate times its error, shared among its features in proportion to their size. The
// samples are visited in a shuffled order (from the seed) each epoch. Returns the weights
// rounded to whole 1/100 discs, saturated to 16 bits; the spare entries are 0.
WeightTable FitWeights(const std::vector<FitSample>& samples, const FitOptions& options,
                       const std::function<void(const FitEpoch&)>& progress);

}  // namespace vell
