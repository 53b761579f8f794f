#include "learning/game_database.h"

#include <sstream>

#include <gtest/gtest.h>

#include "tests/learning/training_games.h"

namespace vell {
namespace {

GameDatabase DatabaseWith(const GameRecord& record) {
    GameDatabase database;
    EXPECT_TRUE(database.Store(record));
    return database;
}

TEST(GameDatabase, HoldsOneGameUntilCleared) {
    GameDatabase database;
    const GameRecord record = test::RecordOf({{White, 19}}, 16);
    EXPECT_TRUE(database.Store(record));
    EXPECT_FALSE(database.Store(record));
    EXPECT_EQ(database.Count(), 1);
    database.Clear();
    EXPECT_EQ(database.Count(), 0);
    EXPECT_TRUE(database.Store(record));
}

// Replays against a plain walk through the same moves: t = 0 is the start position, t beyond
// the moves stops at the last one, a damaged move count is read within 0..60.
TEST(ReplayGame, GivesThePositionBeforeMoveT) {
    const test::Moves moves = test::RandomMoves(7, 40);
    ASSERT_EQ(moves.size(), 40u);
    struct Row {
        const char* label;
        int storedCount;
        int t;
        int expectedMoves;
    };
    const Row rows[] = {
        {"start", 40, 0, 0},    {"middle", 40, 17, 17},    {"last", 40, 40, 40},
        {"beyond", 40, 55, 40}, {"negative t", 40, -3, 0}, {"negative count", -5, 10, 0},
    };
    for (const Row& row : rows) {
        GameRecord record = test::RecordOf(moves, 4);
        record.bytes[1] = static_cast<std::uint8_t>(static_cast<std::int8_t>(row.storedCount));
        Board expected = StartPosition();
        for (int k = 0; k < row.expectedMoves; ++k)
            PlayMove(expected, moves[static_cast<std::size_t>(k)].second,
                     moves[static_cast<std::size_t>(k)].first);
        std::ostringstream diagnostics;
        Board board;
        ReplayGame(DatabaseWith(record), 0, row.t, board, diagnostics);
        EXPECT_EQ(BoardToText(board), BoardToText(expected)) << row.label;
        EXPECT_EQ(diagnostics.str(), "") << row.label;
    }
}

// A colour field of 3 cannot come from a game: the square is reported with the last move
// replayed, emptied, and the replay goes on without waiting for input.
TEST(ReplayGame, ReportsAndEmptiesAnImpossibleSquare) {
    GameRecord record = test::RecordOf({{White, 19}, {Black, 18}, {White, 17}}, 0);
    record.bytes[3] = static_cast<std::uint8_t>(3 * 64 + 40);
    std::ostringstream diagnostics;
    Board board;
    ReplayGame(DatabaseWith(record), 0, 3, board, diagnostics);
    EXPECT_EQ(diagnostics.str(), "E IOSNo=0 Te=3\n i=40 N=17 Turn=1\n");
    EXPECT_EQ(board[40], Empty);
    Board expected = StartPosition();
    PlayMove(expected, 19, White);
    PlayMove(expected, 17, White);
    EXPECT_EQ(BoardToText(board), BoardToText(expected));
}

// With every weight zero each position's error is the result, and the sum is divided by 60
// whatever the number of moves.
TEST(MeasureError, AveragesOverSixtyPositionsPerGame) {
    const WeightTable zero(WeightTableSize, 0);
    struct Row {
        int moves, result;
        double error;
    };
    const Row rows[] = {{60, 16, 256.0}, {30, 16, 128.0}, {60, -44, 1936.0}, {0, 16, 0.0}};
    for (const Row& row : rows) {
        test::Moves moves = test::FillingMoves();
        ASSERT_EQ(moves.size(), 60u);
        moves.resize(static_cast<std::size_t>(row.moves));
        EXPECT_DOUBLE_EQ(MeasureError(DatabaseWith(test::RecordOf(moves, row.result)), zero),
                         row.error)
            << row.moves << " moves";
    }
    EXPECT_EQ(MeasureError(GameDatabase{}, zero), 0.0);
}

// The error of each position comes from the pattern evaluation of that position with the
// colour of its move to play: only the parity weight set, one position with 59 empties.
TEST(MeasureError, EvaluatesEachPositionWithItsMoverToPlay) {
    WeightTable weights(WeightTableSize, 0);
    weights[ParityWeight] = 300;  // 3 discs for black when an odd number of squares is empty
    const GameRecord record = test::RecordOf({{White, 19}, {Black, 34}}, 0);
    // Position 0: 60 empties, parity 0, error 0. Position 1: 59 empties, black to move, +3.
    EXPECT_DOUBLE_EQ(MeasureError(DatabaseWith(record), weights), 9.0 / 60.0);
}

}  // namespace
}  // namespace vell
