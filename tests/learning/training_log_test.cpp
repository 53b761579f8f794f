#include "learning/training_log.h"

#include <string>

#include <gtest/gtest.h>

#include "learning/trainer.h"

namespace vell {
namespace {

TEST(TrainingLog, ReadsWhatTheTrainerWrites) {
    const std::string text = TrainingLogLine(0, {12.5, 3.25}) + TrainingLogLine(1, {100.0, 99.0});
    const LogRead<TrainingLogEntry> read = ParseTrainingLog(text);
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.badLines, 0);
    EXPECT_EQ(read.entries[1].games, 1);
    EXPECT_DOUBLE_EQ(read.entries[0].before, 12.5);
    EXPECT_DOUBLE_EQ(read.entries[0].after, 3.25);
}

TEST(TrainingLog, DamagedLinesAreCountedNotRead) {
    struct Row {
        const char* label;
        const char* line;
        bool good;
    };
    const Row rows[] = {
        {"CR LF line end", "        5 2.000000 -> 1.000000(-1.000000)\r", true},
        {"difference disagrees", "        5 2.000000 -> 1.000000(-3.000000)", false},
        {"negative game count", "       -5 2.000000 -> 1.000000(-1.000000)", false},
        {"not a number", "        5 nan -> 1.000000(nan)", false},
        {"infinite", "        5 inf -> 1.000000(-inf)", false},
        {"torn", "        5 2.000000 -> 1.0", false},
        {"trailing text", "        5 2.000000 -> 1.000000(-1.000000) x", false},
        {"no arrow", "        5 2.000000 1.000000(-1.000000)", false},
    };
    for (const Row& row : rows) {
        const LogRead<TrainingLogEntry> read =
            ParseTrainingLog(std::string("\n") + row.line + "\n   \n");
        EXPECT_EQ(read.entries.size(), row.good ? 1u : 0u) << row.label;
        EXPECT_EQ(read.badLines, row.good ? 0 : 1) << row.label;
        EXPECT_EQ(read.firstBadLine, row.good ? 0 : 2) << row.label;
    }
}

TEST(LearnCurve, ReadsGamesAndHeldOutError) {
    const LogRead<LearnCurvePoint> read = ParseLearnCurve(
        "games=0 holdout_error=30.5\ngames=100  holdout_error=25\ngames=x holdout_error=1\n"
        "games=200 holdout_error=nan\n");
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.entries[1].games, 100);
    EXPECT_DOUBLE_EQ(read.entries[0].error, 30.5);
    EXPECT_EQ(read.badLines, 2);
    EXPECT_EQ(read.firstBadLine, 3);
}

TEST(MovingAverage, AveragesTheLastWindowAndFewerAtTheStart) {
    const std::vector<double> average = MovingAverage({2, 4, 6, 8}, 2);
    EXPECT_EQ(average, (std::vector<double>{2, 3, 5, 7}));
}

}  // namespace
}  // namespace vell
