#include "engine/evaluation.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <ostream>
#include <string>
#include <thread>

#include "book/book.h"
#include "core/player_names.h"
#include "core/random.h"
#include "engine/evaluators.h"
#include "learning/pattern_eval.h"
#include "tests/support/temp_dir.h"
#include "tests/engine/test_positions.h"

namespace vell {
namespace {

Board FilledBoard(int blackStones) {
    Board board;
    for (int s = 0; s < 64; ++s)
        board[s] = s < blackStones ? Black : White;
    return board;
}

EvalContext Context(int type, const WeightTable* weights = nullptr) {
    return EvalContext{type, false, nullptr, weights};
}

// The formula and pattern players score a full board, or any board flagged as the end of the
// game, by the stone difference alone, whatever the side says.
TEST(StaticEvaluation, FinalCountForFormulaAndPatternPlayers) {
    const WeightTable weights = testing::RandomWeights(3);
    Board tenThirty = FilledBoard(10);
    for (int s = 40; s < 64; ++s)
        tenThirty[s] = Empty;  // 10 black, 30 white, 24 empty
    for (int type : {Cpu1Player, CpuPat1Player, CpuPat2Player}) {
        for (int side : {Black, White}) {
            for (int gameOver : {0, 1})
                EXPECT_EQ(
                    EvaluatePosition(Context(type, &weights), FilledBoard(40), gameOver, side),
                    16000)
                    << type;
            EXPECT_EQ(EvaluatePosition(Context(type, &weights), tenThirty, 1, side), -20000)
                << type;
        }
    }
}

// Boards whose empty squares all lie in column 0 from `firstEmptyRow` down: every ray from an
// empty square runs to the edge, so neither side has a move whatever the colours.
Board ColumnZeroEmpties(int firstEmptyRow) {
    Board board;
    board.fill(Black);
    for (int r = firstEmptyRow; r < 8; ++r)
        board[r] = Empty;
    return board;
}

struct Cpu1Case {
    const char* label;
    Board board;
    int value;
};

void PrintTo(const Cpu1Case& c, std::ostream* os) {
    *os << c.label;
}

Board DiscTermBoard(int firstEmptyRow) {
    Board board = ColumnZeroEmpties(firstEmptyRow);
    for (int s = 8; s < 24; ++s)
        board[s] = White;  // columns 1 and 2: X-squares 9 and 14
    return board;
}

Board CornerOnlyBoard() {
    // 4 empties (s4..s7, corner 7 among them); corners: 0 and 56 black, 63 white; X-squares
    // two each; 30 stones of each colour.
    Board board = ColumnZeroEmpties(4);
    for (int s = 0; s < 64; ++s)
        if (board[s] != Empty) board[s] = (s % 2 == 0) ? Black : White;
    board[0] = Black;
    board[56] = Black;
    board[63] = White;
    board[9] = Black;
    board[14] = White;
    board[49] = Black;
    board[54] = White;
    return board;
}

class Cpu1Formula : public ::testing::TestWithParam<Cpu1Case> {};

TEST_P(Cpu1Formula, Value) {
    const Cpu1Case& c = GetParam();
    ASSERT_EQ(CountLegalMoves(c.board, Black), 0);
    ASSERT_EQ(CountLegalMoves(c.board, White), 0);
    EXPECT_EQ(EvaluatePosition(Context(Cpu1Player), c.board, 0, Black), c.value);
    EXPECT_EQ(EvaluatePosition(Context(Cpu1Player), c.board, 0, White), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cpu1Formula,
    ::testing::Values(
        // 6 empties, 42 black, 16 white: discs W - B = -26; corners 0, 56, 63 black; X-squares
        // 49, 54 black and 9, 14 white.
        Cpu1Case{"SixEmptiesRewardsFewerDiscs", DiscTermBoard(2), -26000 + 150000},
        // 5 empties, 43 black: from here on B - W = 27.
        Cpu1Case{"FiveEmptiesRewardsMoreDiscs", DiscTermBoard(3), 27000 + 150000},
        Cpu1Case{"OneCornerAheadIsFiftyThousand", CornerOnlyBoard(), 50000}),
    [](const auto& info) { return std::string(info.param.label); });

// The "CPU-PAT1" blend: the hand value's share (E - 5) / 60, truncated toward zero.
TEST(StaticEvaluation, PatternBlendTruncatesTowardZero) {
    struct Row {
        int hand, pattern, empties, expected;
    };
    for (const Row& r : {Row{1700, 700, 6, 716}, Row{-300, 700, 6, 684}, Row{5000, -4000, 5, -4000},
                         Row{60000, 0, 60, 55000}, Row{-60001, 1, 60, -55000}}) {
        EXPECT_EQ(evaluators::Blend(r.hand, r.pattern, r.empties), r.expected)
            << r.hand << " " << r.pattern << " " << r.empties;
    }
}

// With 5 empties and fewer the blend gives the pattern value unchanged, as "CPU-PAT2" does.
TEST(StaticEvaluation, PatternBlendEndsAtFiveEmpties) {
    const WeightTable weights = testing::RandomWeights(11);
    std::mt19937 rng(5);
    for (int i = 0; i < 200; ++i) {
        Board board;
        for (auto& square : board)
            square = static_cast<std::int8_t>(rng() % 2);
        const int empties = 4 + i % 2;
        for (int e = 0; e < empties;) {
            const int s = static_cast<int>(rng() % 64);
            if (board[s] != Empty) board[s] = Empty, ++e;
        }
        const int side = static_cast<int>(rng() % 2);
        const int pattern = PatternEvaluate(PositionRecord{board, side}, weights);
        EXPECT_EQ(EvaluatePosition(Context(CpuPat1Player, &weights), board, 0, side), pattern)
            << BoardToText(board);
        EXPECT_EQ(EvaluatePosition(Context(CpuPat2Player, &weights), board, 0, side), pattern)
            << BoardToText(board);
    }
}

// "Human" and "CPU-1-2" draw from the calling thread's generator: the runtime's sequence from
// state 1 (41, 18467, 6334, ...), a fresh draw on every call, also on a full board.
TEST(StaticEvaluation, RandomTypesDrawTheRuntimeSequence) {
    for (int type : {HumanPlayer, Cpu12Player, 7}) {
        SeedRandom(1);
        EXPECT_EQ(EvaluatePosition(Context(type), FilledBoard(40), 1, Black), 41);
        EXPECT_EQ(EvaluatePosition(Context(type), FilledBoard(40), 0, White), 18467);
        EXPECT_EQ(EvaluatePosition(Context(type), StartPosition(), 0, White), 6334);
    }
}

TEST(RandomGenerator, EachThreadStartsAtStateOne) {
    SeedRandom(12345);
    const int seeded = Random();
    int first = -1, second = -1;
    std::thread worker([&] {
        first = Random();
        second = Random();
    });
    worker.join();
    EXPECT_EQ(first, 41);
    EXPECT_EQ(second, 18467);
    SeedRandom(12345);
    EXPECT_EQ(Random(), seeded);
}

// In book mode every type answers from the book: 0 outside it, 1 for a stored average of 0,
// the stored average otherwise; a mirrored board finds the same record.
TEST(StaticEvaluation, BookModeAnswersFromTheBook) {
    test::TempDir dir;
    Book book;
    ASSERT_TRUE(book.Load(dir.Path() / "book.dat").ok);
    Board zeroAverage = StartPosition();
    PlayMove(zeroAverage, 19, White);
    Board positive = StartPosition();
    PlayMove(positive, 21, White);
    Board outside = StartPosition();  // every white move from the start is in the book
    PlayMove(outside, 18, Black);
    book.AddGame(zeroAverage, 4);
    book.AddGame(zeroAverage, -4);
    book.AddGame(positive, 7);
    book.AddGame(positive, 0);
    Board mirrored;  // `positive` reflected in the main diagonal
    for (int s = 0; s < 64; ++s)
        mirrored[(s % 8) * 8 + s / 8] = positive[s];

    for (int type = 0; type < PlayerTypeCount; ++type) {
        const EvalContext context{type, true, &book, nullptr};
        for (int gameOver : {0, 1}) {
            EXPECT_EQ(EvaluatePosition(context, zeroAverage, gameOver, Black), 1) << type;
            EXPECT_EQ(EvaluatePosition(context, positive, gameOver, White), 3500) << type;
            EXPECT_EQ(EvaluatePosition(context, mirrored, gameOver, White), 3500) << type;
            EXPECT_EQ(EvaluatePosition(context, outside, gameOver, Black), 0) << type;
        }
    }
    const EvalContext noBook{Cpu1Player, true, nullptr, nullptr};
    EXPECT_EQ(EvaluatePosition(noBook, positive, 0, Black), 0);
}

}  // namespace
}  // namespace vell
