#include "engine/search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/player_names.h"
#include "core/random.h"
#include "learning/pattern_eval.h"
#include "tests/engine/test_positions.h"

namespace vell {
namespace {

using testing::FromText;
using testing::TwoEmptiesBoard;

using testing::RandomGamePositions;
using testing::TestPosition;

// The search written out square by square on the 64-byte board, with the static evaluation as
// plainly as it reads: the judge of the fast search's value, chosen square and node count.
struct ReferenceSearch {
    int playerType = Cpu1Player;
    const WeightTable* weights = nullptr;
    int plyCounter = 0;
    int depthLimit = 1;
    int chosenSquare = -1;
    std::uint64_t nodes = 0;
    int passes = 0;    // re-searches after an opponent's pass
    int gameEnds = 0;  // nodes scored as the end of the game

    static int HandValue(const Board& board, int b, int w, int e, bool alwaysFewer) {
        const int d = (alwaysFewer || e > 5) ? w - b : b - w;
        int q = 0;
        for (int s : {0, 7, 56, 63})
            q += board[s] == Black ? 50000 : board[s] == White ? -50000 : 0;
        for (int s : {9, 14, 49, 54})
            q += board[s] == Black ? -10000 : board[s] == White ? 10000 : 0;
        return 1000 * d + q +
               1000 * (CountLegalMoves(board, Black) - CountLegalMoves(board, White));
    }

    int Evaluate(const Board& board, int gameOver, int side) const {
        int b = 0, w = 0, e = 0;
        for (int s = 0; s < 64; ++s)
            (board[s] == Black ? b : board[s] == White ? w : e) += 1;
        if (playerType < Cpu1Player || playerType > CpuPat2Player) return Random();
        if (e == 0 || gameOver) return (b - w) * 1000;
        if (playerType == Cpu1Player) return HandValue(board, b, w, e, false);
        const int p = PatternEvaluate(PositionRecord{board, side}, *weights);
        if (playerType == CpuPat2Player || e < 5) return p;
        const long long h = HandValue(board, b, w, e, true);
        return p + static_cast<int>((h - p) * (e - 5) / 60);
    }

    int Search(const Board& board, int side, int alpha, int beta) {
        ++nodes;
        if (plyCounter == depthLimit) return Evaluate(board, 0, side);
        int best = -1, moves = 0, a = alpha;
        Board child;
        for (int s = 0; s < 64; ++s) {
            if (board[s] != Empty) continue;
            if (TryMove(board, child, s, side) == 1) continue;
            plyCounter += 1;
            int f = Search(child, 1 - side, -beta, -a);
            moves += 1;
            if (f == NoMove) {
                ++passes;
                f = Search(child, side, a, beta);
                if (f == NoMove) {
                    ++gameEnds;
                    f = Evaluate(child, 1, 0);
                } else if (f == CutOff) {
                    plyCounter -= 1;
                    return CutOff;
                } else if (f == NoImprovement) {
                    plyCounter -= 1;
                    continue;
                }
            } else if (f == CutOff) {
                plyCounter -= 1;
                continue;
            } else if (f == NoImprovement) {
                plyCounter -= 1;
                return CutOff;
            }
            plyCounter -= 1;
            if (side == 1) f = -f;
            if (f > a) {
                best = s;
                a = f;
                if (f >= beta) return CutOff;
            }
        }
        if (plyCounter == 0) chosenSquare = best;
        if (moves == 0) return NoMove;
        if (a == alpha) return NoImprovement;
        return side == 0 ? a : -a;
    }
};

struct Window {
    int alpha, beta;
};

// Runs both searches on one position and reports the first difference, with the position as
// board text so it can be replayed in vellcli.
void ExpectSameSearch(const TestPosition& p, int depth, int playerType, const WeightTable* weights,
                      Window window, ReferenceSearch* totals) {
    ReferenceSearch reference;
    reference.playerType = playerType;
    reference.weights = weights;
    reference.depthLimit = depth;
    SeedRandom(1);
    const int expected = reference.Search(p.board, p.side, window.alpha, window.beta);

    SearchRun fast(EvalContext{playerType, false, nullptr, weights});
    fast.depthLimit = depth;
    SeedRandom(1);
    const int actual = fast.Search(p.board, p.side, window.alpha, window.beta);

    const std::string where = BoardToText(p.board) + (p.side == Black ? " black" : " white") +
                              " depth " + std::to_string(depth) + " type " +
                              std::to_string(playerType) + " window " +
                              std::to_string(window.alpha) + " " + std::to_string(window.beta);
    ASSERT_EQ(actual, expected) << where;
    ASSERT_EQ(fast.chosenSquare, reference.chosenSquare) << where;
    ASSERT_EQ(fast.nodes, reference.nodes) << where;
    ASSERT_EQ(reference.plyCounter, 0) << where;
    totals->nodes += reference.nodes;
    totals->passes += reference.passes;
    totals->gameEnds += reference.gameEnds;
}

struct DifferentialCase {
    const char* label;
    int playerType;
    bool patternWeights;
    int maxDepth;
};

void PrintTo(const DifferentialCase& c, std::ostream* os) {
    *os << c.label;
}

class SearchMatchesReference : public ::testing::TestWithParam<DifferentialCase> {};

// Every position of a few hundred random games, both sides to move (so roots without a move
// occur), at depths 1 up to the case's limit, with the root window and with narrow windows that
// make the root itself report codes; the endgame also read to the end.
TEST_P(SearchMatchesReference, ValueSquareAndNodeCount) {
    const DifferentialCase& c = GetParam();
    const WeightTable weights = testing::RandomWeights(7);
    const WeightTable* w = c.patternWeights ? &weights : nullptr;
    const std::vector<Window> windows = {
        {SearchWindowLow, SearchWindowHigh}, {-3000, 4000}, {2000, 2001}, {-60000, -20000}};
    ReferenceSearch totals;
    const auto positions = RandomGamePositions(20240601u + c.playerType, 12);
    for (std::size_t i = 0; i < positions.size(); i += 3) {
        for (int sideFlip = 0; sideFlip < 2; ++sideFlip) {
            TestPosition p = positions[i];
            if (sideFlip) p.side = 1 - p.side;
            const int empties = CountStones(p.board)[Empty];
            const int maxDepth = empties <= 10 ? 12 : c.maxDepth;
            for (int depth = 1; depth <= maxDepth; ++depth) {
                const Window window = windows[(i + depth + sideFlip) % windows.size()];
                ExpectSameSearch(p, depth, c.playerType, w, window, &totals);
                if (::testing::Test::HasFatalFailure()) return;
            }
        }
    }
    // The positions must reach the rare branches, or the comparison proves little.
    EXPECT_GT(totals.passes, 0);
    EXPECT_GT(totals.gameEnds, 0);
}

INSTANTIATE_TEST_SUITE_P(PlayerTypes, SearchMatchesReference,
                         ::testing::Values(DifferentialCase{"Cpu1", Cpu1Player, false, 5},
                                           DifferentialCase{"CpuPat1", CpuPat1Player, true, 4},
                                           DifferentialCase{"CpuPat2", CpuPat2Player, true, 4},
                                           DifferentialCase{"Human", HumanPlayer, false, 4},
                                           DifferentialCase{"Cpu12", Cpu12Player, false, 4}),
                         [](const auto& info) { return std::string(info.param.label); });

struct SearchCase {
    const char* label;
    const char* board;
    int side;
    int depth;
    int value;
    int square;
    std::uint64_t nodes;
};

void PrintTo(const SearchCase& c, std::ostream* os) {
    *os << c.label;
}

class SearchEdgeCase : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchEdgeCase, ValueSquareAndNodes) {
    const SearchCase& c = GetParam();
    SearchRun run(EvalContext{Cpu1Player, false, nullptr, nullptr});
    run.depthLimit = c.depth;
    EXPECT_EQ(run.Search(FromText(c.board), c.side, SearchWindowLow, SearchWindowHigh), c.value);
    EXPECT_EQ(run.chosenSquare, c.square);
    EXPECT_EQ(run.nodes, c.nodes);
}

INSTANTIATE_TEST_SUITE_P(
    Cpu1, SearchEdgeCase,
    ::testing::Values(
        // Each move ends the game: the opponent passes, the mover's re-search at the same ply
        // finds no move either, and the final count 63 - 0 is the value. Both moves tie, so the
        // lower square wins; nodes: the root, and per move the child and the re-search.
        SearchCase{"GameEndsAfterEitherMove", TwoEmptiesBoard, Black, 3, 63000, 0, 5},
        // The pass re-search does not use up depth: at depth 2 the same line is still read to
        // its end instead of being evaluated at the horizon.
        SearchCase{"PassCostsNoDepth", TwoEmptiesBoard, Black, 2, 63000, 0, 5},
        // At depth 1 the children are leaves: two nodes more than the root, no re-search.
        SearchCase{"DepthOneEvaluatesChildren", TwoEmptiesBoard, Black, 1, 223000, 0, 3},
        // White has no legal move at the root.
        SearchCase{"RootWithoutMove", TwoEmptiesBoard, White, 3, NoMove, -1, 1}),
    [](const auto& info) { return std::string(info.param.label); });

// A stop request seen during the search leaves `aborted` set and the root's square unwritten.
TEST(Search, StopRequestAbandonsTheSearch) {
    struct StopAtOnce : ThinkControl {
        bool AbortRequested() const override { return true; }
        void ShowPaneText(int, const std::string&) override {}
    } control;
    SearchRun run(EvalContext{Cpu1Player, false, nullptr, nullptr}, &control);
    run.depthLimit = 9;
    run.chosenSquare = 77;
    run.Search(StartPosition(), White, SearchWindowLow, SearchWindowHigh);
    EXPECT_TRUE(run.aborted);
    EXPECT_EQ(run.chosenSquare, 77);
    EXPECT_EQ(run.nodes, 1u);
}

}  // namespace
}  // namespace vell
