#include "learning/holdout_log.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <random>

#include <gtest/gtest.h>

#include "learning/game_log.h"
#include "learning/weight_file.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

using test::ReadText;

const std::filesystem::path Resources = VELL_RESOURCES;

// The chart's fixed mark is the figure of the weights and games that ship.
TEST(HoldoutLog, ShippedFigureIsThatOfTheShippedWeights) {
    const std::vector<GameRecord> games = ReadGameLog(Resources / "holdout.txt").games;
    ASSERT_EQ(games.size(), 400u);
    EXPECT_NEAR(HeldOutError(games, LoadWeights(Resources / "weight4.dat").table),
                ShippedHoldoutError, 5e-7);
}

TEST(HoldoutLog, AppendsWholeFilesAndTellsStaleFigures) {
    test::TempDir dir;
    const std::filesystem::path file = dir / HoldoutLogName;
    std::ofstream(file) << "games=1 error=9.5 key=00000000000000aa\r\n"
                        << "games=x error=1 key=1\ngames=2 error=nan key=2\n"
                        << "games=3 error=8.25 key=00000000000000bb trailing\n";
    ASSERT_TRUE(AppendHoldoutPoint(dir.Path(), {10, 7.125, 0xcc}, 2));
    // The damaged lines are dropped, the oldest beyond `keep` too.
    EXPECT_EQ(ReadText(file),
              "games=1 error=9.500000 key=00000000000000aa\n"
              "games=10 error=7.125000 key=00000000000000cc\n");
    const std::vector<HoldoutPoint> points = ParseHoldoutLog(ReadText(file));
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(CurrentHoldoutError(points, 0xcc), 7.125);
    EXPECT_FALSE(CurrentHoldoutError(points, 0xaa));  // weights changed since
    EXPECT_FALSE(CurrentHoldoutError({}, 0xcc));

    // A file that cannot be replaced is kept as it was.
    std::filesystem::create_directory(dir / "Holdoutlog.txt.tmp");
    EXPECT_FALSE(AppendHoldoutPoint(dir.Path(), {11, 1.0, 0xdd}));
    EXPECT_EQ(ParseHoldoutLog(ReadText(file)).size(), 2u);

    // Random bytes give whatever whole lines they hold and nothing else.
    std::mt19937 random(23);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 200, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 4 == 0 ? "games=1 error=.5key\n0x"[random() % 23]
                                                    : random());
        for (const HoldoutPoint& point : ParseHoldoutLog(bytes))
            ASSERT_TRUE(point.games >= 0 && point.error >= 0 && std::isfinite(point.error));
    }

    WeightTable weights(WeightTableSize, 0);
    const std::vector<GameRecord> games(1);
    const std::uint64_t key = HoldoutKey(weights, games);
    weights[ParityWeight] = 1;
    EXPECT_NE(HoldoutKey(weights, games), key);
    EXPECT_NE(HoldoutKey(WeightTable(WeightTableSize, 0), {}), key);
}

}  // namespace
}  // namespace vell
