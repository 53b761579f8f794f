#include "engine/fast_search.h"

#include <gtest/gtest.h>

#include <string>

#include "core/player_names.h"
#include "engine/search.h"
#include "learning/pattern_eval.h"
#include "tests/engine/test_positions.h"

namespace vell {
namespace {

// The fast search proves what the plain search finds: the same root value and the same square
// (the lowest of the best), on positions of random games with either side to move (so roots
// without a move, passes and game ends occur), at depths 1 to 6 and read to the end from 12
// empties on. One table serves all positions, as in a game.
TEST(FastSearch, AgreesWithThePlainSearch) {
    const WeightTable weights = testing::RandomWeights(11);
    InitPatterns();
    TranspositionTable table(std::size_t{1} << 20);
    int compared = 0, finals = 0;
    const auto compare = [&](const EvalContext& context, const testing::TestPosition& p,
                             int depth) {
        SearchRun plain(context);
        plain.depthLimit = depth;
        const int expected = plain.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh);
        FastSearchRun fast(context, table);
        fast.depthLimit = depth;
        const int actual = fast.Search(p.board, p.side);
        const std::string where = BoardToText(p.board) + (p.side == Black ? " black" : " white") +
                                  " depth " + std::to_string(depth) + " type " +
                                  std::to_string(context.playerType);
        ASSERT_EQ(actual, expected) << where;
        ASSERT_EQ(fast.chosenSquare, plain.chosenSquare) << where;
        ++compared;
    };
    for (const int type : {Cpu1Player, CpuPat1Player, CpuPat2Player}) {
        const EvalContext context{type, false, nullptr, &weights};
        const auto games = testing::RandomGamePositions(5150u + type, 16);
        for (std::size_t i = 0; i < games.size(); ++i) {
            testing::TestPosition p = games[i];
            if (i % 5 == 0) p.side = 1 - p.side;
            // Depths 5 and 6 cost the plain search most: one position in three goes that deep.
            int depth = 1 + static_cast<int>(i % 6);
            if (depth >= 5 && (i / 6) % 3 != 0) depth -= 2;
            compare(context, p, depth);
            if (::testing::Test::HasFatalFailure()) return;
        }
        // Random games often end with many empty squares; these reach the last dozen.
        const auto endings = testing::RandomGamePositions(6150u + type, 100, 44);
        for (std::size_t i = 0; i < endings.size(); ++i) {
            testing::TestPosition p = endings[i];
            const int empties = CountStones(p.board)[Empty];
            if (empties > 12 || (empties > 10 && i % 3 != 0)) continue;
            if (i % 5 == 0) p.side = 1 - p.side;
            compare(context, p, 30);
            if (::testing::Test::HasFatalFailure()) return;
            ++finals;
        }
    }
    EXPECT_GT(finals, 250);
    EXPECT_GT(compared, 2000);
}

// A table of two entries forces every store to replace another position's: the results must
// not depend on what survives.
TEST(FastSearch, TinyTableGivesTheSameAnswers) {
    TranspositionTable table(1);
    const EvalContext context{Cpu1Player, false, nullptr, nullptr};
    const auto positions = testing::RandomGamePositions(99, 3, 20);
    for (std::size_t i = 0; i < positions.size(); i += 4) {
        const testing::TestPosition& p = positions[i];
        SearchRun plain(context);
        plain.depthLimit = 5;
        FastSearchRun fast(context, table);
        fast.depthLimit = 5;
        ASSERT_EQ(fast.Search(p.board, p.side),
                  plain.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh))
            << BoardToText(p.board);
        ASSERT_EQ(fast.chosenSquare, plain.chosenSquare) << BoardToText(p.board);
    }
}

// Two thinks at once never search with the same table; the engine's own table is reused once
// it is free again.
TEST(TablePool, ThinksAtOnceNeverShareATable) {
    TablePool pool(std::size_t{1} << 16);
    TranspositionTable* first = nullptr;
    {
        TablePool::Lease a(pool);
        TablePool::Lease b(pool);
        EXPECT_NE(&a.Table(), &b.Table());
        first = &a.Table();
    }
    TablePool::Lease again(pool);
    EXPECT_EQ(&again.Table(), first);
}

}  // namespace
}  // namespace vell
