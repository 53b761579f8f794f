#include "engine/pattern_readings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <random>
#include <string>

#include "core/bitboard_avx2.h"
#include "core/cpu_level.h"
#include "tests/engine/test_positions.h"
#include "tests/support/random_play.h"

namespace vell {
namespace {

// The routines under test in both builds: the portable one, and the vector one where this
// processor runs it (the wrappers give the vector routines a caller of their own instruction set).
struct Kernel {
    const char* name;
    PatternReadings (*after)(const PatternReadings&, int, Bitboard, int);
    int (*weightSum)(const PatternReadings&, const std::int16_t*);
    // Two moves' weight sums worked out together, where the kernel has it.
    std::array<int, 2> (*pairSums)(const PatternReadings&, int, int, Bitboard, int, Bitboard,
                                   const std::int16_t*) = nullptr;
};

#ifdef VELL_HAVE_AVX2
__attribute__((target(VELL_AVX2_TARGET))) PatternReadings VectorAfter(const PatternReadings& r,
                                                                      int s, Bitboard flips,
                                                                      int side) {
    return avx2::ReadingsAfterMove(r, s, flips, side);
}
__attribute__((target(VELL_AVX2_TARGET))) int VectorWeightSum(const PatternReadings& r,
                                                              const std::int16_t* w) {
    return avx2::ReadingsWeightSum(r, w);
}
__attribute__((target(VELL_AVX2_TARGET))) std::array<int, 2> VectorPairSums(
    const PatternReadings& r, int side, int s, Bitboard flipsS, int t, Bitboard flipsT,
    const std::int16_t* w) {
    return avx2::WeightSumsAfterMoves(r, side, s, flipsS, t, flipsT, w);
}
__attribute__((target(VELL_AVX2_TARGET))) Bitboard VectorFlips(Bitboard own, Bitboard opp, int s) {
    return avx2::Flips(own, opp, s);
}
__attribute__((target(VELL_AVX2_TARGET))) Bitboard VectorMoves(Bitboard own, Bitboard opp) {
    return avx2::LegalMoves(own, opp);
}
__attribute__((target(VELL_AVX2_TARGET))) avx2::MovePair VectorBothMoves(Bitboard black,
                                                                         Bitboard white) {
    return avx2::LegalMovesOfBoth(black, white);
}
#endif

std::vector<Kernel> Kernels() {
    std::vector<Kernel> kernels{{"portable", ReadingsAfterMove, ReadingsWeightSum}};
#ifdef VELL_HAVE_AVX2
    if (MachineSupports(CpuLevel::Avx2))
        kernels.push_back({"vector", VectorAfter, VectorWeightSum, VectorPairSums});
#endif
    return kernels;
}

int Mobility(Bitboard black, Bitboard white) {
    return std::popcount(LegalMoves(black, white)) - std::popcount(LegalMoves(white, black));
}

// Every move of random games, the readings carried from move to move: they equal the readings
// read afresh, and with the scalar features they give exactly PatternEvaluate's value. Worked
// out in pairs (each move with the one before it, the first with itself), the sums are the same.
TEST(PatternReadings, FollowEveryMoveAndGiveTheReferenceValue) {
    const WeightTable weights = testing::RandomWeights(11);
    WeightTable forward;
    MakeForwardWeights(weights, forward);
    for (const Kernel& kernel : Kernels()) {
        int checked = 0;
        for (const Board& board : test::RandomPlayBoards(5, 3000)) {
            const Bitboard black = StonesOf(board, Black), white = StonesOf(board, White);
            const PatternReadings readings = ReadingsOf(black, white);
            for (int side : {Black, White}) {
                const Bitboard own = side == Black ? black : white;
                const Bitboard opp = side == Black ? white : black;
                int before = -1, beforeSum = 0;
                for (Bitboard moves = LegalMoves(own, opp); moves; moves &= moves - 1) {
                    const int s = std::countr_zero(moves);
                    const Bitboard flips = Flips(own, opp, s);
                    const Bitboard b = side == Black ? black | flips | SquareBB(s) : black & ~flips;
                    const Bitboard w = side == White ? white | flips | SquareBB(s) : white & ~flips;
                    const PatternReadings after = kernel.after(readings, s, flips, side);
                    const int turn = 1 - side, e = 64 - std::popcount(b | w);
                    const int parity = turn == White ? -(e & 1) : (e & 1);
                    const int sum = kernel.weightSum(after, forward.data());
                    const int value = 10 * (parity * weights[ParityWeight] +
                                            Mobility(b, w) * weights[MobilityWeight] + sum);
                    PositionRecord record;
                    FromBitboards(b, w, record.board);
                    record.turn = turn;
                    const std::string where = std::string(kernel.name) + " " + BoardToText(board) +
                                              " move " + std::to_string(s);
                    ASSERT_EQ(after, ReadingsOf(b, w)) << where;
                    ASSERT_EQ(value, PatternEvaluate(record, weights)) << where;
                    if (kernel.pairSums) {
                        const int first = before < 0 ? s : before;
                        const auto pair =
                            kernel.pairSums(readings, side, first, Flips(own, opp, first), s, flips,
                                            forward.data());
                        ASSERT_EQ(pair[0], before < 0 ? sum : beforeSum) << where;
                        ASSERT_EQ(pair[1], sum) << where;
                    }
                    before = s;
                    beforeSum = sum;
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 20000) << kernel.name;
    }
}

// Without a table given, a thread's searches read the table of the weights they are given now:
// the same one while the weights stay the same, a new one as soon as any weight changes, even
// in place.
TEST(PatternReadings, ForwardTableFollowsTheWeightsGiven) {
    WeightTable weights = testing::RandomWeights(3);
    WeightTable expected;
    MakeForwardWeights(weights, expected);
    const std::int16_t* first = ForwardTableFor(nullptr, &weights);
    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), first));
    EXPECT_EQ(ForwardTableFor(nullptr, &weights), first);
    weights[WeightTableSize / 2] = static_cast<std::int16_t>(weights[WeightTableSize / 2] + 1);
    weights[ParityWeight] = static_cast<std::int16_t>(weights[ParityWeight] - 1);
    MakeForwardWeights(weights, expected);
    const std::int16_t* second = ForwardTableFor(nullptr, &weights);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), second));
    const WeightTable given = expected;
    EXPECT_EQ(ForwardTableFor(&given, &weights), given.data());
}

#ifdef VELL_HAVE_AVX2
// On boards of random squares, reachable or not, the vector move generation and flips give
// what the portable ones give for every empty square and both colours.
TEST(VectorBitboards, MatchThePortableRoutines) {
    if (!MachineSupports(CpuLevel::Avx2)) GTEST_SKIP() << "no 256-bit vectors on this processor";
    std::mt19937 random(17);
    for (int n = 0; n < 3000; ++n) {
        const Board board = test::RandomBoard(random);
        const Bitboard black = StonesOf(board, Black), white = StonesOf(board, White);
        const std::string text = BoardToText(board);
        const avx2::MovePair both = VectorBothMoves(black, white);
        ASSERT_EQ(both.black, LegalMoves(black, white)) << text;
        ASSERT_EQ(both.white, LegalMoves(white, black)) << text;
        ASSERT_EQ(VectorMoves(black, white), both.black) << text;
        ASSERT_EQ(VectorMoves(white, black), both.white) << text;
        for (Bitboard empty = ~(black | white); empty; empty &= empty - 1) {
            const int s = std::countr_zero(empty);
            ASSERT_EQ(VectorFlips(black, white, s), Flips(black, white, s)) << text << " " << s;
            ASSERT_EQ(VectorFlips(white, black, s), Flips(white, black, s)) << text << " " << s;
        }
    }
}
#endif

}  // namespace
}  // namespace vell
