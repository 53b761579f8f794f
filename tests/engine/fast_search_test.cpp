#include "engine/fast_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/player_names.h"
#include "engine/search.h"
#include "learning/pattern_eval.h"
#include "tests/engine/test_positions.h"

namespace vell {
namespace {

// The fast search's value and square at `depth` are the plain search's; a mismatch names the
// position as board text, then `detail`.
void ExpectAsThePlainSearch(const EvalContext& context, TranspositionTable& table,
                            const testing::TestPosition& p, int depth, const std::string& detail) {
    SearchRun plain(context);
    plain.depthLimit = depth;
    const int expected = plain.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh);
    FastSearchRun fast(context, table);
    fast.depthLimit = depth;
    const int actual = fast.Search(p.board, p.side);
    const std::string where =
        BoardToText(p.board) + (p.side == Black ? " black" : " white") + detail;
    ASSERT_EQ(actual, expected) << where;
    ASSERT_EQ(fast.chosenSquare, plain.chosenSquare) << where;
}

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
        ExpectAsThePlainSearch(
            context, table, p, depth,
            " depth " + std::to_string(depth) + " type " + std::to_string(context.playerType));
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

// Reads to the end from 1 to 14 empty squares, where the endgame solver takes over the last
// ones, give the plain search's value and square; with either side to move, so passes, roots
// without a move and games that end before the board is full all occur. The depth limit is the
// empties themselves or far beyond them.
TEST(FastSearch, ReadsToTheEndAsThePlainSearch) {
    InitPatterns();
    const WeightTable weights = testing::RandomWeights(12);
    TranspositionTable table(std::size_t{1} << 20);
    auto positions = testing::RandomGamePositions(7160, 1000, 44);
    // Random games seldom leave a move among the last few squares; boards filled at random
    // with 2 to 13 empty squares often do, in the solver and in the table nodes above it.
    std::mt19937 rng(7161);
    for (int k = 0; k < 3000; ++k) {
        testing::TestPosition p{{}, static_cast<int>(rng() % 2)};
        for (auto& square : p.board)
            square = static_cast<std::int8_t>(rng() % 2 == 0 ? Black : White);
        for (int e = 2 + k % 12; e > 0; --e)
            p.board[rng() % 64] = Empty;
        positions.push_back(p);
    }
    int compared = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        testing::TestPosition p = positions[i];
        const int empties = CountStones(p.board)[Empty];
        if (empties > 14) continue;
        if (i % 4 == 0) p.side = 1 - p.side;
        const EvalContext context{i % 3 == 0 ? CpuPat2Player : Cpu1Player, false, nullptr,
                                  &weights};
        const int depth = i % 5 == 0 ? empties : 60;
        ASSERT_NO_FATAL_FAILURE(ExpectAsThePlainSearch(context, table, p, depth, ""));
        ++compared;
    }
    EXPECT_GT(compared, 5000);
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

// Positions that differ in one part of the board alone spread over the buckets: each group of
// 4096 positions, differing only in the stones of two neighbouring rows (the top, the middle,
// the bottom), fills most of 4096 buckets. A bucket chosen from some squares only would put
// every position of a group in one bucket, and they would push each other out.
TEST(TranspositionTable, PositionsDifferingInAnyRowsSpreadOverTheBuckets) {
    const TranspositionTable table(4096 * 2 * sizeof(TableEntry));
    for (const int shift : {0, 24, 48}) {
        std::set<const TableEntry*> buckets;
        for (Bitboard stones = 0; stones < 4096; ++stones) {
            const Bitboard black = (stones & 0x0F0F) << shift, white = (stones & 0xF0F0) << shift;
            buckets.insert(table.Bucket(black, white, stones & 1 ? White : Black));
        }
        EXPECT_GT(buckets.size(), 2000U) << "rows from square " << shift;
    }
}

// A think given a span keeps to that many bytes at the start of the table, rounded down to a
// power of two of buckets (at least one), and spreads over all of them; a think without one, or
// with one past the table's size, spreads over the whole table.
TEST(TranspositionTable, ThinkKeepsToItsSpan) {
    constexpr std::size_t BucketBytes = 2 * sizeof(TableEntry);
    TranspositionTable table(4096 * BucketBytes);
    // The buckets of 4096 positions.
    const auto buckets = [&table] {
        std::set<const TableEntry*> used;
        for (Bitboard stones = 0; stones < 4096; ++stones)
            used.insert(table.Bucket(stones << 20, (stones ^ 0xABC) << 36, Black));
        return used;
    };
    table.NextGeneration();
    const TableEntry* start = *buckets().begin();
    const struct {
        std::size_t spanBytes, buckets;
    } rows[] = {{256 * BucketBytes, 256},   {300 * BucketBytes, 256}, {BucketBytes + 1, 1}, {0, 1},
                {8192 * BucketBytes, 4096}, {~std::size_t{0}, 4096}};
    for (const auto& row : rows) {
        table.NextGeneration(row.spanBytes);
        const std::set<const TableEntry*> used = buckets();
        EXPECT_GE(*used.begin(), start) << row.spanBytes;
        EXPECT_LT(*used.rbegin(), start + 2 * row.buckets) << row.spanBytes;
        EXPECT_GT(used.size(), row.buckets / 2) << row.spanBytes;
    }
}

// A table of a page or more takes the memory advice once, on a page-aligned range that holds
// all of its buckets, and searches right there after being faulted in; a smaller table takes
// none, and a pool passes its advice on.
TEST(TranspositionTable, TakesTheMemoryAdviceOnItsWholeAlignedRange) {
    static std::vector<std::pair<std::uintptr_t, std::size_t>> advised;
    advised.clear();
    const TableMemoryAdvice record = [](void* start, std::size_t bytes) {
        advised.emplace_back(reinterpret_cast<std::uintptr_t>(start), bytes);
    };
    TranspositionTable big(2 * TablePageBytes + 100, record);
    const TranspositionTable small(TablePageBytes / 2, record);
    {
        // A pool hands its advice to its own table when the first think claims it.
        TablePool pool(TablePageBytes, record);
        ASSERT_EQ(advised.size(), 1u);
        const TablePool::Lease lease(pool);
        ASSERT_EQ(advised.size(), 2u);
        EXPECT_EQ(advised[1].second, TablePageBytes);
    }
    const auto [start, bytes] = advised[0];
    EXPECT_EQ(start % TablePageBytes, 0u);
    EXPECT_EQ(bytes, 2 * TablePageBytes);

    big.Prefault();
    const EvalContext context{Cpu1Player, false, nullptr, nullptr};
    const auto positions = testing::RandomGamePositions(7, 4, 30);
    for (std::size_t i = 0; i < positions.size(); i += 3) {
        const testing::TestPosition& p = positions[i];
        const Bitboard black = StonesOf(p.board, Black), white = StonesOf(p.board, White);
        const auto bucket = reinterpret_cast<std::uintptr_t>(big.Bucket(black, white, p.side));
        ASSERT_GE(bucket, start);
        ASSERT_LE(bucket + 2 * sizeof(TableEntry), start + bytes);
        ASSERT_NO_FATAL_FAILURE(ExpectAsThePlainSearch(context, big, p, 5, ""));
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
