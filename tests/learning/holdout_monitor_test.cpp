#include "learning/holdout_monitor.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "learning/game_log.h"
#include "learning/holdout_log.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::filesystem::path Resources = VELL_RESOURCES;

// A learner that moves one weight per game.
struct CountingLearner : GameLearner {
    Weights& weights;
    explicit CountingLearner(Weights& w) : weights(w) {}
    int TrainingGameCount() const override { return weights.header.trainingGames; }
    void Train(const GameRecord&) override {
        ++weights.header.trainingGames;
        weights.table[0] = static_cast<std::int16_t>(weights.table[0] + 100);
    }
};

// Measured in the background after every `every` games, from copies of the weights; weights
// already measured are not measured again.
TEST(HoldoutMonitor, MeasuresEveryFewGamesOffTheGamesThread) {
    test::TempDir dir;
    const std::vector<GameRecord> holdout = ReadGameLog(Resources / "holdout.txt", 8).games;
    Weights weights;
    CountingLearner learner(weights);
    {
        HoldoutMonitor monitor(learner, weights, holdout, dir.Path(), 2);
        // The start is asked for twice (here and before the first game) and measured once.
        monitor.WeightsChanged();
        for (int game = 0; game < 5; ++game)
            monitor.Train(GameRecord{});
        monitor.Wait();
    }
    const std::vector<HoldoutPoint> points = ParseHoldoutLog(ReadText(dir / HoldoutLogName));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].games, 0);
    EXPECT_EQ(points[1].games, 2);
    EXPECT_EQ(points[2].games, 4);
    WeightTable atFour(WeightTableSize, 0);
    atFour[0] = 400;
    EXPECT_EQ(points.back().key, HoldoutKey(atFour, holdout));
    EXPECT_NEAR(points.back().error, HeldOutError(holdout, atFour), 5e-7);
    EXPECT_NEAR(points.front().error, HeldOutError(holdout, WeightTable(WeightTableSize, 0)), 5e-7);
}

}  // namespace
}  // namespace vell
