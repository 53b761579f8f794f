#include "learning/holdout_monitor.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "learning/game_log.h"
#include "learning/holdout_log.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

using test::ReadText;

const std::filesystem::path Resources = VELL_RESOURCES;

// A learner that moves one weight in each of its first four games, then none.
struct CountingLearner : GameLearner {
    Weights& weights;
    explicit CountingLearner(Weights& w) : weights(w) {}
    int TrainingGameCount() const override { return weights.header.trainingGames; }
    void Train(const GameRecord&) override {
        if (++weights.header.trainingGames <= 4)
            weights.table[0] = static_cast<std::int16_t>(weights.table[0] + 100);
    }
};

// Measured in the background after every `every` games, from copies of the weights; weights
// already measured keep their figure, logged again under each new count.
TEST(HoldoutMonitor, MeasuresEveryFewGamesOffTheGamesThread) {
    test::TempDir dir;
    const std::vector<GameRecord> holdout = ReadGameLog(Resources / "holdout.txt", 8).games;
    Weights weights;
    CountingLearner learner(weights);
    {
        HoldoutMonitor monitor(learner, weights, holdout, dir.Path(), 2);
        // The start is asked for twice (here and before the first game) and measured once.
        monitor.WeightsChanged();
        // Waiting after each game keeps every measurement (a busy worker drops old ones).
        for (int game = 0; game < 9; ++game) {
            monitor.Train(GameRecord{});
            monitor.Wait();
        }
    }
    const std::vector<HoldoutPoint> points = ParseHoldoutLog(ReadText(dir / HoldoutLogName));
    ASSERT_EQ(points.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(points[i].games, 2 * i);
    EXPECT_EQ(points[4].key, points[2].key);
    EXPECT_EQ(points[4].error, points[2].error);
    WeightTable atFour(WeightTableSize, 0);
    atFour[0] = 400;
    EXPECT_EQ(points[2].key, HoldoutKey(atFour, holdout));
    EXPECT_NEAR(points[2].error, HeldOutError(holdout, atFour), 5e-7);
    EXPECT_NEAR(points.front().error, HeldOutError(holdout, WeightTable(WeightTableSize, 0)), 5e-7);
}

}  // namespace
}  // namespace vell
