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
//  Accumulating: the stable step, scaled per weight by a rate that falls with the evidence the
//   weight has already seen (see AccumulatingRate), applied to a training iterate kept in
//   memory; the weights in use are the running mean of that iterate over every game the table
//   has been trained on. The rate alone leaves the iterate jumping after a game with an extreme
//   result; the mean keeps what earlier games taught, so the held-out error falls steadily. This
//   is the rule training uses.
enum class StepRule { FixedFactor, Stable, Accumulating };

// The share of the stable step a weight takes when its features have summed `evidence` squared
// units in earlier passes and the table has been trained on `games` games: `rate` while the
// weight is new, falling as settle / (settle + evidence), so that common configurations settle
// while rare ones keep learning. It never falls below the floor, which itself shrinks as
// floorGames / (floorGames + games): a young table keeps learning from every game, while one
// trained on many games (the shipped weights) moves very little per game and so keeps what
// those games taught. The mobility and parity weights are read in every position, so their
// evidence would stop them after a few games: they take the fixed share `everyPosition` instead,
// and the mean over the games settles them. Chosen on held-out games and matches against the
// hand-made formula with vellcli learncurve and vellcli match.
struct AccumulatingRate {
    double rate = 0.2;
    double settle = 200.0;
    double floor = 0.002;
    double floorGames = 2000.0;
    double everyPosition = 0.3;
    double For(double evidence, double games) const;
};

// One trained position: the features it used and its error in discs.
struct TrainedPosition {
    TrainingScratch features;
    double error = 0.0;
};

// The per-weight sums of one pass, one entry per weight of the table, and the positions of the
// pass. Owned by whoever runs the passes, so a pass allocates nothing.
struct TrainingAccumulators {
    std::vector<double> gradient = std::vector<double>(WeightTableSize);
    std::vector<std::int32_t> squared = std::vector<std::int32_t>(WeightTableSize);
    std::vector<std::int16_t> occurrence = std::vector<std::int16_t>(WeightTableSize);
    std::vector<TrainedPosition> positions =
        std::vector<TrainedPosition>(GameDatabase::Capacity * MaxRecordMoves);
    // Kept from pass to pass for the accumulating step: the squared features each weight has
    // seen, the training iterate (the positions' errors are measured on its rounded table) and
    // the running mean that becomes the weights. An empty iterate starts from the weights.
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
// The accumulating rule measures the errors on its iterate instead of `weights` and leaves the
// new mean in `weights`.
// The weight file is not written here.
TrainingPassResult TrainOnStoredGames(const GameDatabase& database, WeightTable& weights,
                                      Book* book, TrainingAccumulators& accumulators, StepRule rule,
                                      const TrainingReport& report);

}  // namespace vell
