#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "learning/game_database.h"
#include "learning/pattern_eval.h"
#include "learning/weights.h"

namespace vell {

class Book;

// How the accumulated errors become weight changes.
//  FixedFactor: every touched weight moves by 100000 x gradient / 3000, whatever the features'
//   sizes. It diverges (the mobility weight and heavily hit pattern weights overshoot by a
//   growing factor every game) and is kept only to show that.
//  Stable: every touched weight moves in proportion to its mean error per unit of feature
//   (gradient divided by the squared-feature sum), all by one factor chosen so that the trained
//   positions' squared error is as small as it can get along that direction. A pass therefore
//   never overshoots, a game's error does not grow (but for the rounding of weights to whole
//   units), and repeated passes converge. It fits each game it sees and so forgets the earlier
//   ones: kept for comparison.
//  Accumulating: the stable step, scaled per weight by a rate that falls with the games that
//   have read the weight (see AccumulatingRate), applied to a training iterate kept in memory;
//   the weights in use are a running mean of that iterate that leans towards recent games. Two
//   things keep a young table from fitting what its few games cannot tell: every position is
//   also trained with its colours swapped and its result negated, so a weight learns only what
//   favours one colour over the other (configurations that look the same for both stay 0); and a
//   position's target looks ahead, mixing the game's result with the iterate's own values of
//   the later positions (AccumulatingRate::lookAhead), so the opening positions, whose result is
//   mostly chance, learn only as far as the later ones have. From zero weights the held-out
//   error falls from the first games on; a table trained on many games (the shipped weights)
//   keeps what they taught, since its mean takes only a tiny share of each game.
enum class StepRule { FixedFactor, Stable, Accumulating };

// How the accumulating step learns. A weight read in `evidence` earlier games of a table trained
// on `games` games takes the share For(evidence, games) of the stable step: `rate` while the
// weight is new, falling as settle / (settle + evidence), so that common configurations settle
// while rare ones keep learning, and never below the floor, which itself shrinks as
// floorGames / (floorGames + games). The mobility and parity weights are read in every position
// and take the fixed share `everyPosition`. The target of each position is its game's result
// for the last position and, going back, lookAhead x (the later position's target) +
// (1 - lookAhead) x (the iterate's value of the later position). After a table's game g
// (0-based), the mean takes the share (1 + recency) / (g + 1 + recency) of the iterate: the
// plain mean over the games would be recency 0, which weighs the first, worst iterates of a
// young table as much as the last. Chosen on held-out games from zero and from the shipped
// weights, and matches against the hand-made formula, with vellcli learncurve, selfplay and
// match.
struct AccumulatingRate {
    double rate = 1.0;
    double settle = 500.0;
    double floor = 0.002;
    double floorGames = 2000.0;
    double everyPosition = 0.1;
    double lookAhead = 0.6;
    double recency = 3.0;
    double For(double evidence, double games) const;
};

// One trained position: the features it used, its value in 1/100000 disc (black's view) and
// its error in discs.
struct TrainedPosition {
    TrainingScratch features;
    std::int64_t value = 0;
    double error = 0.0;
};

// The per-weight sums of one pass, one entry per weight of the table, and the positions of the
// pass (each twice for the accumulating step: as played and with its colours swapped). Owned
// by whoever runs the passes, so a pass allocates nothing.
struct TrainingAccumulators {
    std::vector<double> gradient = std::vector<double>(WeightTableSize);
    std::vector<std::int32_t> squared = std::vector<std::int32_t>(WeightTableSize);
    std::vector<std::int16_t> occurrence = std::vector<std::int16_t>(WeightTableSize);
    std::vector<TrainedPosition> positions =
        std::vector<TrainedPosition>(2 * GameDatabase::Capacity * MaxRecordMoves);
    // Kept from pass to pass for the accumulating step: the games that have read each weight,
    // the training iterate (the positions' errors are measured on its rounded table) and the
    // running mean that becomes the weights. An empty iterate starts from the weights.
    std::vector<float> evidence = std::vector<float>(WeightTableSize);
    std::vector<double> iterate;
    std::vector<double> mean;
    WeightTable iterateTable;
    AccumulatingRate rate;
    // Games the table had been trained on before the pass.
    int gamesTrained = 0;
};

// What a pass found besides the weights: whether the book stopped taking additions (it could
// not be written), so a caller can tell the run did not keep everything.
struct TrainingPassResult {
    bool bookStopped = false;
};

// A weight value in the 16-bit range: values beyond it stop at the bound instead of wrapping.
std::int16_t SaturateWeight(double value);

// Receives a text the user should see (a book that is full or cannot be written).
using TrainingReport = std::function<void(const std::string&)>;

// One training pass over the stored games: for each game and each of its positions before moves
// 0..N-1 (at most 60), the error of the pattern evaluation against the game's result is
// accumulated per weight used; the positions before moves 0..14 are added to `book` (when not
// null) with the game's result. Then every touched weight below TotalWeights takes its step.
// The accumulating rule measures the errors on its iterate instead of `weights`, against its
// looking-ahead targets, adds the colour-swapped positions, and leaves the new mean in
// `weights`.
// The weight file is not written here.
TrainingPassResult TrainOnStoredGames(const GameDatabase& database, WeightTable& weights,
                                      Book* book, TrainingAccumulators& accumulators, StepRule rule,
                                      const TrainingReport& report);

}  // namespace vell
