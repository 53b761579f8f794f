#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "core/bitboard.h"
#include "core/bitboard_avx2.h"
#include "core/board.h"
#include "learning/pattern_eval.h"

namespace vell {

// The pattern readings of one position, kept up to date move by move so that a search leaf
// need not read its 46 pattern instances afresh: lane i < 46 holds instance i's forward reading
// (instances in the order of PatternEvaluateForTraining, squares read as base-3 digits), the
// other lanes stay 0. Read through a forward weight table (below), the forward reading alone
// gives the instance's weight. Every reading is below 3^10, so it fits 16 bits and the
// arithmetic may wrap on the way.
constexpr int ReadingLanes = 48;
constexpr int ForwardWeightsSize = WeightTableSize + 2;

struct alignas(32) PatternReadings {
    std::array<std::uint16_t, ReadingLanes> lane{};
    bool operator==(const PatternReadings&) const = default;
};

// ReadingSteps[s]: what one step of square s's digit (0 black, 1 white, 2 empty) adds to each
// lane: 3^k where s is square k of the lane's instance, else 0. Entry 64 is all zero, so a loop
// may look up the lowest square of an empty set (std::countr_zero gives 64).
extern const std::array<PatternReadings, 65> ReadingSteps;

namespace detail {

// Each pattern's square count and instances, as in the pattern table, and so each instance's
// weight block; the comparison with the reference evaluation checks them.
constexpr std::array<int, PatternCount> PatternSquareCounts = {4, 5, 6, 7, 8, 8, 8, 8, 10, 10, 9};
constexpr std::array<int, PatternCount> PatternSymmetries = {4, 4, 4, 4, 2, 4, 4, 4, 4, 8, 4};

constexpr std::array<int, PatternInstances> MakeInstanceOffsets() {
    std::array<int, PatternInstances> offsets{};
    int instance = 0, offset = 0;
    for (int p = 0; p < PatternCount; ++p) {
        for (int j = 0; j < PatternSymmetries[p]; ++j)
            offsets[instance++] = offset;
        int block = 1;
        for (int k = 0; k < PatternSquareCounts[p]; ++k)
            block *= 3;
        offset += block;
    }
    return offsets;
}

}  // namespace detail

// The weight block of each instance.
inline constexpr std::array<int, PatternInstances> InstanceOffsets = detail::MakeInstanceOffsets();

// The weight table read by the forward reading alone: entry f of each pattern's block holds the
// weight of the smaller of f and f read backward, which is the entry the pattern evaluation
// reads; the entries past the blocks are copied, and two zero entries follow the table (the
// vector sum reads them for its padding lanes). `forward` is resized to fit.
void MakeForwardWeights(const WeightTable& weights, WeightTable& forward);

// The forward table a search's pattern leaves read: `given` when set, else the one made from
// `weights`, kept per thread with a copy of the weights it was made from. It is made again only
// when the weights differ from that copy (they may have been trained since), so a thread that
// runs many searches on the same weights (a game review, a benchmark) makes it once.
const std::int16_t* ForwardTableFor(const WeightTable* given, const WeightTable* weights);

// The readings of a position read square by square (the root of a search).
PatternReadings ReadingsOf(Bitboard black, Bitboard white);

// The readings after `side` has placed a stone on the empty square s and turned `flips`.
inline PatternReadings ReadingsAfterMove(const PatternReadings& readings, int s, Bitboard flips,
                                         int side) {
    // Placing: empty (2) becomes the mover's digit. Turning: white (1) to black (0) or back.
    std::array<std::uint16_t, ReadingLanes> turned{};
    for (; flips; flips &= flips - 1) {
        const PatternReadings& step = ReadingSteps[std::countr_zero(flips)];
        for (int l = 0; l < ReadingLanes; ++l)
            turned[l] = static_cast<std::uint16_t>(turned[l] + step.lane[l]);
    }
    const PatternReadings& placed = ReadingSteps[s];
    PatternReadings after;
    for (int l = 0; l < ReadingLanes; ++l) {
        const unsigned r = readings.lane[l], p = placed.lane[l], t = turned[l];
        after.lane[l] = static_cast<std::uint16_t>(side == Black ? r - 2 * p - t : r - p + t);
    }
    return after;
}

// The sum of the 46 instances' weights from a forward weight table.
inline int ReadingsWeightSum(const PatternReadings& readings, const std::int16_t* forwardWeights) {
    int sum = 0;
#pragma GCC unroll 46
    for (int i = 0; i < PatternInstances; ++i)
        sum += forwardWeights[InstanceOffsets[i] + readings.lane[i]];
    return sum;
}

#ifdef VELL_HAVE_AVX2
namespace avx2 {

constexpr int ReadingVectors = ReadingLanes / 16;

// Each lane's weight block; the two padding lanes point at the zeros past the table.
alignas(32) inline constexpr std::array<int, ReadingLanes> LaneOffsets = [] {
    std::array<int, ReadingLanes> offsets{};
    for (int i = 0; i < ReadingLanes; ++i)
        offsets[i] = i < PatternInstances ? InstanceOffsets[i] : WeightTableSize;
    return offsets;
}();

[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline __m256i ReadingVector(
    const PatternReadings& r, int v) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(r.lane.data()) + v);
}

// Vector v of the readings after a move: placing turns the square's empty digit (2) into the
// mover's, and `turned` (the steps of the flipped squares) turns white (1) to black (0) or back.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline __m256i AfterVector(
    const PatternReadings& readings, const PatternReadings& placed, __m256i turned, int v,
    int side) {
    const __m256i r = ReadingVector(readings, v), p = ReadingVector(placed, v);
    return side == Black ? _mm256_sub_epi16(_mm256_sub_epi16(r, _mm256_add_epi16(p, p)), turned)
                         : _mm256_add_epi16(_mm256_sub_epi16(r, p), turned);
}

// The weights of half h of reading vector v (lanes 16 v + 8 h onward), as 32-bit values: the
// readings, their weight blocks added, gather 32 bits each (the table runs past every block),
// and a multiply-add by (1, 0) keeps the low half, the weight, sign-extended.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline __m256i GatherWeights(
    __m256i readings, int v, int h, const std::int16_t* forwardWeights) {
    const __m256i index = _mm256_add_epi32(
        _mm256_cvtepu16_epi32(h == 0 ? _mm256_castsi256_si128(readings)
                                     : _mm256_extracti128_si256(readings, 1)),
        _mm256_load_si256(reinterpret_cast<const __m256i*>(LaneOffsets.data() + 16 * v + 8 * h)));
    const __m256i w =
        _mm256_i32gather_epi32(reinterpret_cast<const int*>(forwardWeights), index, 2);
    return _mm256_madd_epi16(w, _mm256_set1_epi32(1));
}

[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline int LaneSum(__m256i x) {
    __m128i s = _mm_add_epi32(_mm256_castsi256_si128(x), _mm256_extracti128_si256(x, 1));
    s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0x4E));
    s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0xB1));
    return _mm_cvtsi128_si32(s);
}

// ReadingsAfterMove on 256-bit vectors.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline PatternReadings
ReadingsAfterMove(const PatternReadings& readings, int s, Bitboard flips, int side) {
    __m256i turned[ReadingVectors];
    for (int v = 0; v < ReadingVectors; ++v)
        turned[v] = _mm256_setzero_si256();
    for (; flips; flips &= flips - 1) {
        const PatternReadings& step = ReadingSteps[std::countr_zero(flips)];
        for (int v = 0; v < ReadingVectors; ++v)
            turned[v] = _mm256_add_epi16(turned[v], ReadingVector(step, v));
    }
    PatternReadings result;
    for (int v = 0; v < ReadingVectors; ++v)
        _mm256_store_si256(reinterpret_cast<__m256i*>(result.lane.data()) + v,
                           AfterVector(readings, ReadingSteps[s], turned[v], v, side));
    return result;
}

// ReadingsWeightSum on vectors.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline int ReadingsWeightSum(
    const PatternReadings& readings, const std::int16_t* forwardWeights) {
    __m256i sum = _mm256_setzero_si256();
    for (int v = 0; v < ReadingVectors; ++v)
        for (int h = 0; h < 2; ++h)
            sum = _mm256_add_epi32(sum,
                                   GatherWeights(ReadingVector(readings, v), v, h, forwardWeights));
    return LaneSum(sum);
}

// The weight sums after two moves from the same position, `side` placing on s (turning flipsS)
// or on t (turning flipsT): as ReadingsWeightSum(ReadingsAfterMove(...)) for each, worked out
// side by side so that the loads and gathers of one overlap those of the other.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline std::array<int, 2>
WeightSumsAfterMoves(const PatternReadings& readings, int side, int s, Bitboard flipsS, int t,
                     Bitboard flipsT, const std::int16_t* forwardWeights) {
    __m256i turnedS[ReadingVectors], turnedT[ReadingVectors];
    for (int v = 0; v < ReadingVectors; ++v)
        turnedS[v] = turnedT[v] = _mm256_setzero_si256();
    for (; flipsS | flipsT; flipsS &= flipsS - 1, flipsT &= flipsT - 1) {
        const PatternReadings& stepS = ReadingSteps[std::countr_zero(flipsS)];
        const PatternReadings& stepT = ReadingSteps[std::countr_zero(flipsT)];
        for (int v = 0; v < ReadingVectors; ++v) {
            turnedS[v] = _mm256_add_epi16(turnedS[v], ReadingVector(stepS, v));
            turnedT[v] = _mm256_add_epi16(turnedT[v], ReadingVector(stepT, v));
        }
    }
    __m256i sumS = _mm256_setzero_si256(), sumT = _mm256_setzero_si256();
    for (int v = 0; v < ReadingVectors; ++v) {
        const __m256i afterS = AfterVector(readings, ReadingSteps[s], turnedS[v], v, side);
        const __m256i afterT = AfterVector(readings, ReadingSteps[t], turnedT[v], v, side);
        for (int h = 0; h < 2; ++h) {
            sumS = _mm256_add_epi32(sumS, GatherWeights(afterS, v, h, forwardWeights));
            sumT = _mm256_add_epi32(sumT, GatherWeights(afterT, v, h, forwardWeights));
        }
    }
    return {LaneSum(sumS), LaneSum(sumT)};
}

}  // namespace avx2
#endif

}  // namespace vell
