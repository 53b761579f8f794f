#include "learning/pattern_eval.h"

#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/random_play.h"

namespace vell {
namespace {

// A deliberately plain evaluation: the eleven patterns as lists of squares, the eight maps as
// formulas on (column, row), digits read one square at a time.
struct ReferencePattern {
    std::vector<int> squares;
    int symmetries;
};

const std::vector<ReferencePattern> ReferencePatterns = {
    {{24, 17, 10, 3}, 4},
    {{32, 25, 18, 11, 4}, 4},
    {{40, 33, 26, 19, 12, 5}, 4},
    {{48, 41, 34, 27, 20, 13, 6}, 4},
    {{56, 49, 42, 35, 28, 21, 14, 7}, 2},
    {{1, 9, 17, 25, 33, 41, 49, 57}, 4},
    {{2, 10, 18, 26, 34, 42, 50, 58}, 4},
    {{3, 11, 19, 27, 35, 43, 51, 59}, 4},
    {{0, 8, 9, 16, 24, 32, 40, 49, 48, 56}, 4},
    {{0, 8, 16, 24, 32, 1, 9, 17, 25, 33}, 8},
    {{2, 1, 10, 0, 9, 18, 8, 17, 16}, 4},
};

const int ReferenceOffsets[] = {0, 81, 324, 1053, 3240, 9801, 16362, 22923, 29484, 88533, 147582};

int ReferenceMap(int j, int square) {
    const int c = square / 8, r = square % 8;
    const int maps[8][2] = {{c, r}, {r, 7 - c}, {7 - c, 7 - r}, {7 - r, c},
                            {r, c}, {c, 7 - r}, {7 - r, 7 - c}, {7 - c, r}};
    return maps[j][0] * 8 + maps[j][1];
}

int ReferenceIndex(const Board& board, int pattern, int j) {
    const auto& squares = ReferencePatterns[pattern].squares;
    const int n = static_cast<int>(squares.size());
    int forward = 0, backward = 0;
    for (int k = 0; k < n; ++k) {
        const int digit = board[ReferenceMap(j, squares[k])];
        forward += digit * static_cast<int>(std::pow(3, k));
        backward += digit * static_cast<int>(std::pow(3, n - 1 - k));
    }
    return std::min(forward, backward);
}

int ReferenceEvaluate(const PositionRecord& record, const WeightTable& weights) {
    const int mobility =
        CountLegalMoves(record.board, Black) - CountLegalMoves(record.board, White);
    int parity = CountStones(record.board)[Empty] % 2;
    if (record.turn == White) parity = -parity;
    int sum = parity * weights[167266] + mobility * weights[167265];
    for (int i = 0; i < 11; ++i)
        for (int j = 0; j < ReferencePatterns[i].symmetries; ++j)
            sum += weights[ReferenceOffsets[i] + ReferenceIndex(record.board, i, j)];
    return static_cast<int>(std::int64_t{1000} * sum / 100);
}

WeightTable RandomWeights(std::mt19937& random, int range) {
    WeightTable weights(WeightTableSize);
    std::uniform_int_distribution<int> weight(-range, range);
    for (auto& w : weights)
        w = static_cast<std::int16_t>(weight(random));
    return weights;
}

class PatternEvaluation : public ::testing::Test {
  protected:
    void SetUp() override { InitPatterns(); }
};

TEST_F(PatternEvaluation, IndexReadsTheSmallerOfForwardAndBackward) {
    PositionRecord record;
    record.board.fill(Empty);
    record.board[24] = Black;
    record.board[17] = White;
    // Digits 0 1 2 2: forward 0 + 3 + 18 + 54 = 75, backward 0 + 9 + 6 + 2 = 17.
    EXPECT_EQ(PatternIndex(0, 0, record), 17);
}

TEST_F(PatternEvaluation, IndexOfEmptyAndFullLines) {
    PositionRecord record;
    record.board.fill(Empty);
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(PatternIndex(5, j, record), 6560);
    EXPECT_EQ(PatternIndex(9, 7, record), 59048);
    record.board.fill(Black);
    for (int i = 0; i < PatternCount; ++i)
        for (int j = 0; j < Patterns[i].symmetries; ++j)
            EXPECT_EQ(PatternIndex(i, j, record), 0);
}

TEST_F(PatternEvaluation, LongDiagonalHasTwoInstancesOneForEachDiagonal) {
    PositionRecord record;
    record.board.fill(Empty);
    for (int s : {0, 9, 18, 27, 36, 45, 54, 63})
        record.board[s] = Black;
    EXPECT_EQ(PatternIndex(4, 0, record), 6560);  // 56 .. 7, all empty
    EXPECT_EQ(PatternIndex(4, 1, record), 0);     // 0 .. 63, all black

    TrainingScratch scratch;
    WeightTable weights(WeightTableSize, 0);
    PatternEvaluateForTraining(record, 0, weights, scratch);
    EXPECT_EQ(scratch.weightIndex[16], 3240 + 6560);
    EXPECT_EQ(scratch.weightIndex[17], 3240 + 0);
}

TEST_F(PatternEvaluation, ZeroWeightsEvaluateToZero) {
    const WeightTable zero(WeightTableSize, 0);
    for (const Board& board : test::RandomPlayBoards(3, 500)) {
        EXPECT_EQ(PatternEvaluate({board, Black}, zero), 0);
        EXPECT_EQ(PatternEvaluate({board, White}, zero), 0);
    }
}

TEST_F(PatternEvaluation, ScalarFeaturesAtTheStartAndByEmptySquares) {
    PositionRecord record{StartPosition(), Black};
    EXPECT_EQ(ScalarFeature(0, record), 0);
    EXPECT_EQ(ScalarFeature(1, record), 0);

    struct Row {
        const char* label;
        int empties, turn, parity;
    };
    const Row rows[] = {{"59 empties, black to move", 59, Black, 1},
                        {"59 empties, white to move", 59, White, -1},
                        {"58 empties, black to move", 58, Black, 0},
                        {"58 empties, white to move", 58, White, 0}};
    for (const Row& row : rows) {
        PositionRecord r{StartPosition(), row.turn};
        for (int s = 0, toFill = 60 - row.empties; toFill > 0; ++s)
            if (r.board[s] == Empty) {
                r.board[s] = Black;
                --toFill;
            }
        EXPECT_EQ(ScalarFeature(1, r), row.parity) << row.label;
    }
}

TEST_F(PatternEvaluation, MobilityWeightCountsMovesOfBothSides) {
    WeightTable weights(WeightTableSize, 0);
    weights[MobilityWeight] = 100;
    int checked = 0;
    for (const Board& board : test::RandomPlayBoards(11, 4000)) {
        if (CountLegalMoves(board, Black) != 7 || CountLegalMoves(board, White) != 4) continue;
        EXPECT_EQ(ScalarFeature(0, {board, White}), 3) << BoardToText(board);
        EXPECT_EQ(PatternEvaluate({board, White}, weights), 3000) << BoardToText(board);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(PatternEvaluation, StageIsZeroEvenForAFullBoard) {
    Board full;
    full.fill(White);
    EXPECT_EQ(StageOf(full), 0);
    EXPECT_EQ(StageOf(StartPosition()), 0);
    EXPECT_EQ(StageStartStones(0), 4);
    EXPECT_EQ(StageStartStones(1), 64);

    WeightTable weights(WeightTableSize, 0);
    weights[PatternOffsets[5]] = 7;  // an all-white line
    EXPECT_EQ(PatternEvaluate({full, Black}, weights), 0);
    weights[PatternOffsets[5] + 3280] = 7;  // 1111 1111 in base 3
    EXPECT_EQ(PatternEvaluate({full, Black}, weights), 4 * 7 * 10);
}

// The fast evaluation, the bitboard one and the training one against the plain reference, on
// positions from random play and on random boards (full ones included), with random weights.
TEST_F(PatternEvaluation, FastPathsAgreeWithThePlainReference) {
    std::mt19937 random(20240601);
    std::vector<Board> boards = test::RandomPlayBoards(7, 3000);
    for (int i = 0; i < 1000; ++i)
        boards.push_back(test::RandomBoard(random));
    Board full;
    for (int s = 0; s < 64; ++s)
        full[s] = static_cast<std::int8_t>((s * 7 / 3) % 2);
    boards.push_back(full);

    WeightTable weights = RandomWeights(random, 32767);
    TrainingScratch scratch;
    int mismatches = 0;
    for (std::size_t b = 0; b < boards.size() && mismatches < 5; ++b) {
        if (b % 500 == 0) weights = RandomWeights(random, b % 1000 == 0 ? 32767 : 300);
        const Board& board = boards[b];
        for (int turn : {Black, White}) {
            const PositionRecord record{board, turn};
            const int expected = ReferenceEvaluate(record, weights);
            const int fast = PatternEvaluate(record, weights);
            const int bits =
                PatternEvaluate(StonesOf(board, Black), StonesOf(board, White), turn, weights);
            const std::int64_t training = PatternEvaluateForTraining(record, 0, weights, scratch);
            EXPECT_EQ(fast, expected) << BoardToText(board) << " turn " << turn;
            EXPECT_EQ(bits, expected) << BoardToText(board) << " turn " << turn;
            EXPECT_EQ(training, std::int64_t{expected} * 100) << BoardToText(board);
            int instance = 0;
            for (int i = 0; i < 11; ++i)
                for (int j = 0; j < ReferencePatterns[i].symmetries; ++j, ++instance) {
                    const int index = ReferenceIndex(board, i, j);
                    EXPECT_EQ(PatternIndex(i, j, record), index);
                    EXPECT_EQ(scratch.weightIndex[instance], ReferenceOffsets[i] + index)
                        << BoardToText(board) << " pattern " << i << " map " << j;
                }
            EXPECT_EQ(scratch.mobility, ScalarFeature(0, record));
            EXPECT_EQ(scratch.parity, ScalarFeature(1, record));
            if (fast != expected || bits != expected) ++mismatches;
        }
    }
}

}  // namespace
}  // namespace vell
