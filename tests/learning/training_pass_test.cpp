#include "learning/training_pass.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "book/book.h"
#include "learning/pattern_eval.h"
#include "tests/learning/training_games.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

GameDatabase DatabaseWith(const GameRecord& record) {
    GameDatabase database;
    database.Store(record);
    return database;
}

// How often each pattern weight is read over the positions before moves 0..moves-1, counted
// with PatternIndex one instance at a time.
std::map<int, int> PatternHits(const test::Moves& moves) {
    std::map<int, int> hits;
    PositionRecord position;
    position.board = StartPosition();
    for (const auto& [colour, square] : moves) {
        for (int i = 0; i < PatternCount; ++i)
            for (int j = 0; j < Patterns[i].symmetries; ++j)
                ++hits[PatternOffsets[i] + PatternIndex(i, j, position)];
        PlayMove(position.board, square, colour);
    }
    return hits;
}

TEST(SaturateWeight, TruncatesTowardZeroAndStopsAtTheBounds) {
    struct Row {
        double value;
        int expected;
    };
    const Row rows[] = {{0.5, 0},         {-0.5, 0},      {533.33, 533},      {-1066.7, -1066},
                        {32767.9, 32767}, {40000, 32767}, {-32768.9, -32768}, {-1e12, -32768}};
    for (const Row& row : rows)
        EXPECT_EQ(SaturateWeight(row.value), row.expected) << row.value;
}

class TrainingPass : public ::testing::Test {
  protected:
    void SetUp() override { InitPatterns(); }
    void Train(const GameRecord& record, StepRule rule, Book* book = nullptr) {
        TrainOnStoredGames(DatabaseWith(record), weights, book, accumulators, rule, {});
    }
    WeightTable weights = WeightTable(WeightTableSize, 0);
    TrainingAccumulators accumulators;
};

// The fixed 1/3000 step from zero weights with a result of 16: every position errs by 16 discs,
// so a weight read h times in the game becomes 100000 x 16 h / 3000, truncated (533, 1066, 1600
// for one, two, three reads; past 61 reads it stops at the bound); weights never read stay 0.
TEST_F(TrainingPass, FixedFactorStepMovesEachWeightBySixteenDiscsPerRead) {
    const test::Moves moves = test::FillingMoves();
    ASSERT_EQ(moves.size(), 60u);
    Train(test::RecordOf(moves, 16), StepRule::FixedFactor);
    const std::map<int, int> hits = PatternHits(moves);
    std::map<int, int> weightOfHits;
    int read = 0;
    for (const auto& [w, h] : hits) {
        EXPECT_EQ(weights[w],
                  std::min(32767.0, std::trunc(100000.0 * (16.0 * h) * 0.0003333333333333333)))
            << w;
        weightOfHits[h] = weights[w];
        read += h;
    }
    EXPECT_EQ(read, 60 * PatternInstances);
    EXPECT_EQ(weightOfHits.at(1), 533);
    EXPECT_EQ(weightOfHits.at(2), 1066);
    EXPECT_EQ(weightOfHits.at(3), 1600);
    int touched = 0;
    for (int w = 0; w < MobilityWeight; ++w)
        touched += weights[w] != 0;
    EXPECT_EQ(touched, static_cast<int>(hits.size()));
}

// A game that ends after 30 moves trains exactly its 30 positions and adds the 15 before moves
// 0..14 to the book. Weights read more than about 60 times reach the 16-bit bound and stop.
TEST_F(TrainingPass, ShortGameTrainsItsPositionsAndBooksTheFirstFifteen) {
    test::TempDir dir;
    Book book;
    ASSERT_TRUE(book.Load(dir / "book.dat").ok);
    const test::Moves moves = test::RandomGameOfLength(30);
    ASSERT_EQ(moves.size(), 30u);
    Train(test::RecordOf(moves, 16), StepRule::FixedFactor, &book);

    int read = 0;
    for (const auto& [w, h] : PatternHits(moves)) {
        EXPECT_EQ(weights[w],
                  std::min(32767.0, std::trunc(100000.0 * (16.0 * h) * 0.0003333333333333333)))
            << w;
        read += h;
    }
    EXPECT_EQ(read, 30 * PatternInstances);
    ASSERT_EQ(book.Count(), 15);
    Board board = StartPosition();
    for (int k = 0; k < 15; ++k) {
        const BookLookup found = book.Lookup(board, k);
        EXPECT_TRUE(found.found) << "position " << k;
        EXPECT_EQ(found.value, 16000) << "position " << k;
        PlayMove(board, moves[static_cast<std::size_t>(k)].second,
                 moves[static_cast<std::size_t>(k)].first);
    }
    EXPECT_EQ(std::filesystem::file_size(dir / "book.dat"), 15u * 24u);
}

// A trained weight that would leave the 16-bit range stops at its bound instead of wrapping to
// the other sign: with results of +-100, weights read ten times or more pass the bound.
TEST_F(TrainingPass, WeightsSaturateInsteadOfWrapping) {
    const test::Moves moves = test::FillingMoves();
    for (const int result : {100, -100}) {
        weights.assign(WeightTableSize, 0);
        Train(test::RecordOf(moves, result), StepRule::FixedFactor);
        int saturated = 0;
        for (const auto& [w, h] : PatternHits(moves)) {
            const double exact = 100000.0 * (result * h) * 0.0003333333333333333;
            EXPECT_EQ(weights[w], std::clamp(std::trunc(exact), -32768.0, 32767.0)) << w;
            saturated += std::abs(exact) > 32767;
        }
        EXPECT_GT(saturated, 0) << result;
    }
}

// The fixed 1/3000 step diverges on a real game: one pass from zero weights takes the error
// from 83.3 to millions and pins weights at the bounds. The stable step lowers it on the same
// game and keeps every weight well inside the range.
TEST_F(TrainingPass, StableStepConvergesWhereTheFixedFactorDiverges) {
    const GameDatabase database =
        DatabaseWith(test::RecordOf(test::Cpu1Game, test::Cpu1GameResult));
    const double start = MeasureError(database, weights);
    EXPECT_NEAR(start, 83.333333, 1e-6);

    TrainOnStoredGames(database, weights, nullptr, accumulators, StepRule::FixedFactor, {});
    EXPECT_GT(MeasureError(database, weights), 1e6);
    int saturated = 0;
    for (int w = 0; w < TotalWeights; ++w)
        saturated += weights[w] == 32767 || weights[w] == -32768;
    EXPECT_GE(saturated, 3);

    weights.assign(WeightTableSize, 0);
    double previous = start;
    for (int pass = 0; pass < 20; ++pass) {
        TrainOnStoredGames(database, weights, nullptr, accumulators, StepRule::Stable, {});
        const double error = MeasureError(database, weights);
        EXPECT_LE(error, previous) << "pass " << pass;
        previous = error;
    }
    EXPECT_LT(previous, 1.0);
    for (int w = 0; w < TotalWeights; ++w)
        EXPECT_LT(std::abs(weights[w]), 3000) << w;
}

// A game of one move trains only the start position: its value moves to the result, from
// below and from above, without passing it, and stays there.
TEST_F(TrainingPass, StableStepStopsAtTheResult) {
    PositionRecord start;
    start.board = StartPosition();
    start.turn = White;
    for (const int result : {12, -7}) {
        weights.assign(WeightTableSize, 0);
        const GameRecord record = test::RecordOf({{White, 19}}, result);
        WeightTable settled;
        for (int pass = 0; pass < 10; ++pass) {
            Train(record, StepRule::Stable);
            const int value = PatternEvaluate(start, weights);
            // Weights are whole 1/100 discs, so the value lands within half a disc.
            EXPECT_LE(std::abs(value - result * 1000), 500) << result << " pass " << pass;
            EXPECT_GE(value * result, 0) << result << " pass " << pass;
            if (pass == 4) settled = weights;
        }
        EXPECT_EQ(weights, settled) << result;
    }
}

}  // namespace
}  // namespace vell
