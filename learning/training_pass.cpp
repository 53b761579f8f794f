#include "learning/training_pass.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "book/book.h"
#include "learning/pattern_eval.h"

namespace vell {

namespace {

// Errors come from the training evaluation in 1/100000 disc; weights are in 1/100 disc.
constexpr double ErrorToDiscs = 0.00001;
constexpr double WeightUnitsPerDisc = 100.0;
// The fixed-factor rule: 100000 x gradient x (the double nearest 1/3000), in 1/100 disc.
constexpr double FixedLearningFactor = 100000.0;
constexpr double FixedStepFactor = 0.0003333333333333333;
// Positions before moves 0..BookMoves-1 go to the book.
constexpr int BookMoves = 15;
// Training walks the moves from the first stage's start to the second's.
constexpr int FirstTrainedMove = StageStartStones(0) - 4;
constexpr int EndTrainedMove = StageStartStones(1) - 4;
constexpr double WeightLow = std::numeric_limits<std::int16_t>::min();
constexpr double WeightHigh = std::numeric_limits<std::int16_t>::max();

// The change of a position's prediction, in discs, when every weight w moves by step[w] discs
// per unit of feature.
double PredictionChange(const TrainedPosition& position, const double* step) {
    double change = position.features.mobility * step[MobilityWeight] +
                    position.features.parity * step[ParityWeight];
    for (const std::int32_t w : position.features.weightIndex)
        change += step[w];
    return change;
}

// The stable step: every touched weight's direction is its mean error per unit of feature
// (gradient / squared-feature sum), which alone would correct each weight as if it were the only
// one. All of a position's features move together, so that direction is scaled by the one
// factor that minimises the squared error of the trained positions along it: the positions as
// a whole never overshoot, and, but for the rounding of weights to whole units, a game's error
// can only fall. Turns the gradient into that direction and returns the factor in weight units
// (0 when no feature was touched).
double StableScale(TrainingAccumulators& accumulators, int positions) {
    double* step = accumulators.gradient.data();
    const std::int32_t* squared = accumulators.squared.data();
    for (int w = 0; w < TotalWeights; ++w)
        if (squared[w] != 0) step[w] /= squared[w];
    double along = 0.0, length = 0.0;
    for (int i = 0; i < positions; ++i) {
        const TrainedPosition& position = accumulators.positions[static_cast<std::size_t>(i)];
        const double change = PredictionChange(position, step);
        along += position.error * change;
        length += change * change;
    }
    return length > 0.0 ? WeightUnitsPerDisc * along / length : 0.0;
}

// The position with every stone's colour swapped and the other side to move: its value from
// black's side is the negated value of the original.
PositionRecord SwapColours(const PositionRecord& position) {
    PositionRecord swapped;
    for (int s = 0; s < 64; ++s)
        swapped.board[s] = position.board[s] == Empty
                               ? position.board[s]
                               : static_cast<std::int8_t>(1 - position.board[s]);
    swapped.turn = 1 - position.turn;
    return swapped;
}

// Sets the errors of one game's positions first..end-1 (every `stride`-th one as played, the
// one after it, when stride is 2, that position with its colours swapped) against targets that
// look back from the game's result: the last position's target is the result, and each earlier
// one's is lookAhead x the next target + (1 - lookAhead) x the next value. lookAhead 1 makes
// every target the result. All in 1/100000 disc; the errors in discs.
void SetErrors(TrainedPosition* positions, int first, int end, int stride, int gameResult,
               double lookAhead) {
    double target = static_cast<double>(std::int64_t{gameResult} * 100000);
    for (int i = end - stride; i >= first; i -= stride) {
        TrainedPosition& played = positions[i];
        played.error = (target - static_cast<double>(played.value)) * ErrorToDiscs;
        if (stride == 2) {
            TrainedPosition& swapped = positions[i + 1];
            swapped.error = (-target - static_cast<double>(swapped.value)) * ErrorToDiscs;
        }
        if (lookAhead != 1.0)
            target = lookAhead * target + (1.0 - lookAhead) * static_cast<double>(played.value);
    }
}

// Adds a trained position's error to the per-weight sums.
void AccumulatePosition(const TrainedPosition& trained, TrainingAccumulators& accumulators) {
    const TrainingScratch& scratch = trained.features;
    const double t = trained.error;
    double* gradient = accumulators.gradient.data();
    std::int32_t* squared = accumulators.squared.data();
    std::int16_t* occurrence = accumulators.occurrence.data();
    gradient[MobilityWeight] += scratch.mobility * t;
    squared[MobilityWeight] += scratch.mobility * scratch.mobility;
    gradient[ParityWeight] += scratch.parity * t;
    squared[ParityWeight] += scratch.parity * scratch.parity;
    // A weight hit h times in one position gains h x t and h squared.
    for (const std::int32_t w : scratch.weightIndex) {
        occurrence[w] += 1;
        gradient[w] += t;
        squared[w] += 2 * occurrence[w] - 1;
    }
    for (const std::int32_t w : scratch.weightIndex)
        occurrence[w] = 0;
}

void ApplyStableStep(TrainingAccumulators& accumulators, int positions, WeightTable& weights) {
    const double scale = StableScale(accumulators, positions);
    if (scale == 0.0) return;
    for (int w = 0; w < TotalWeights; ++w)
        if (accumulators.squared[w] != 0)
            weights[w] = SaturateWeight(scale * accumulators.gradient[w] + weights[w]);
}

// The accumulating step: the stable direction and factor, times each weight's own rate, moves
// the iterate; each weight read in the pass counts one more game of evidence. The weights become
// the running mean of the iterates after each of the table's games, this pass's included.
void ApplyAccumulatingStep(TrainingAccumulators& accumulators, int positions,
                           WeightTable& weights) {
    const double scale = StableScale(accumulators, positions);
    const double* step = accumulators.gradient.data();
    const std::int32_t* squared = accumulators.squared.data();
    float* evidence = accumulators.evidence.data();
    double* iterate = accumulators.iterate.data();
    const AccumulatingRate& rate = accumulators.rate;
    const double games = std::max(accumulators.gamesTrained, 0);
    for (int w = 0; w < TotalWeights; ++w) {
        if (squared[w] == 0) continue;
        const double share = w == MobilityWeight || w == ParityWeight
                                 ? rate.everyPosition
                                 : rate.For(evidence[w], games);
        iterate[w] = std::clamp(iterate[w] + share * scale * step[w], WeightLow, WeightHigh);
        accumulators.iterateTable[w] = SaturateWeight(std::round(iterate[w]));
        evidence[w] += 1.0f;
    }
    const double share = (1.0 + rate.recency) / (games + 1.0 + rate.recency);
    double* mean = accumulators.mean.data();
    for (int w = 0; w < TotalWeights; ++w) {
        mean[w] += share * (iterate[w] - mean[w]);
        weights[w] = SaturateWeight(std::round(mean[w]));
    }
}

void ApplyFixedFactorStep(const TrainingAccumulators& accumulators, WeightTable& weights) {
    for (int w = 0; w < TotalWeights; ++w)
        if (accumulators.squared[w] != 0)
            weights[w] = SaturateWeight(
                FixedLearningFactor * accumulators.gradient[w] * FixedStepFactor + weights[w]);
}

}  // namespace

double AccumulatingRate::For(double evidence, double games) const {
    return std::max(floor * floorGames / (floorGames + games), rate * settle / (settle + evidence));
}

std::int16_t SaturateWeight(double value) {
    return static_cast<std::int16_t>(std::clamp(std::trunc(value), WeightLow, WeightHigh));
}

TrainingPassResult TrainOnStoredGames(const GameDatabase& database, WeightTable& weights,
                                      Book* book, TrainingAccumulators& accumulators, StepRule rule,
                                      const TrainingReport& report) {
    TrainingPassResult result;
    const bool accumulating = rule == StepRule::Accumulating;
    if (accumulating && accumulators.iterate.empty()) {
        accumulators.iterate.assign(weights.begin(), weights.end());
        accumulators.mean = accumulators.iterate;
        accumulators.iterateTable = weights;
    }
    const WeightTable& measured = accumulating ? accumulators.iterateTable : weights;
    std::fill(accumulators.gradient.begin(), accumulators.gradient.end(), 0.0);
    std::fill(accumulators.squared.begin(), accumulators.squared.end(), 0);
    std::fill(accumulators.occurrence.begin(), accumulators.occurrence.end(), 0);
    const int stride = accumulating ? 2 : 1;
    const double lookAhead = accumulating ? accumulators.rate.lookAhead : 1.0;
    TrainedPosition* trainedPositions = accumulators.positions.data();

    int positions = 0;
    for (int g = 0; g < database.Count(); ++g) {
        const GameRecord& record = database.Game(g);
        const int gameResult = record.Result();
        PositionRecord position;
        ReplayGame(database, g, FirstTrainedMove, position.board);
        const int moves = std::min(RecordedMoves(record), EndTrainedMove);
        const int first = positions;
        for (int j = FirstTrainedMove; j < moves; ++j) {
            position.turn = record.Colour(j) == White ? White : Black;
            if (j < BookMoves && book) {
                const BookAddResult added = book->AddGame(position.board, gameResult);
                if (added.outcome == BookAddOutcome::Stopped) result.bookStopped = true;
                if (!added.message.empty() && report) report(added.message);
            }
            TrainedPosition& trained = trainedPositions[positions++];
            trained.value = PatternEvaluateForTraining(position, 0, measured, trained.features);
            if (accumulating) {
                TrainedPosition& swapped = trainedPositions[positions++];
                swapped.value = PatternEvaluateForTraining(SwapColours(position), 0, measured,
                                                           swapped.features);
            }
            PlayRecordedMove(position.board, record, j);
        }
        SetErrors(trainedPositions, first, positions, stride, gameResult, lookAhead);
        for (int i = first; i < positions; ++i)
            AccumulatePosition(trainedPositions[i], accumulators);
    }
    if (rule == StepRule::FixedFactor)
        ApplyFixedFactorStep(accumulators, weights);
    else if (rule == StepRule::Stable)
        ApplyStableStep(accumulators, positions, weights);
    else
        ApplyAccumulatingStep(accumulators, positions, weights);
    return result;
}

}  // namespace vell
