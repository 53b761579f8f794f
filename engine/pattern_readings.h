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
// (instances in the order of PatternEvaluateForTraining), lane BackwardLane + i its backward
// reading; the pattern index is the smaller of the two. The other lanes stay 0. Every reading
// is below 3^10, so it fits 16 bits and the arithmetic may wrap on the way.
constexpr int ReadingLanes = 96;
constexpr int BackwardLane = 48;

struct alignas(32) PatternReadings {
    std::array<std::uint16_t, ReadingLanes> lane{};
    bool operator==(const PatternReadings&) const = default;
};

// ReadingSteps[s]: what one step of square s's digit (0 black, 1 white, 2 empty) adds to each
// lane: 3^k forward and 3^(n-1-k) backward where s is square k of an instance, else 0.
extern const std::array<PatternReadings, 64> ReadingSteps;

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

// The sum of the 46 instances' weights.
inline int ReadingsWeightSum(const PatternReadings& readings, const std::int16_t* weights) {
    int sum = 0;
#pragma GCC unroll 46
    for (int i = 0; i < PatternInstances; ++i)
        sum += weights[InstanceOffsets[i] +
                       std::min(readings.lane[i], readings.lane[BackwardLane + i])];
    return sum;
}

#ifdef VELL_HAVE_AVX2
namespace avx2 {

[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline __m256i ReadingVector(
    const PatternReadings& r, int v) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(r.lane.data()) + v);
}

// ReadingsAfterMove on 256-bit vectors.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline PatternReadings
ReadingsAfterMove(const PatternReadings& readings, int s, Bitboard flips, int side) {
    constexpr int Vectors = ReadingLanes / 16;
    __m256i turned[Vectors], after[Vectors];
    for (int v = 0; v < Vectors; ++v)
        turned[v] = _mm256_setzero_si256();
    for (; flips; flips &= flips - 1) {
        const PatternReadings& step = ReadingSteps[std::countr_zero(flips)];
        for (int v = 0; v < Vectors; ++v)
            turned[v] = _mm256_add_epi16(turned[v], ReadingVector(step, v));
    }
    const PatternReadings& placed = ReadingSteps[s];
    for (int v = 0; v < Vectors; ++v) {
        const __m256i r = ReadingVector(readings, v), p = ReadingVector(placed, v);
        after[v] = side == Black
                       ? _mm256_sub_epi16(_mm256_sub_epi16(r, _mm256_add_epi16(p, p)), turned[v])
                       : _mm256_add_epi16(_mm256_sub_epi16(r, p), turned[v]);
    }
    PatternReadings result;
    for (int v = 0; v < Vectors; ++v)
        _mm256_store_si256(reinterpret_cast<__m256i*>(result.lane.data()) + v, after[v]);
    return result;
}

// ReadingsWeightSum on vectors: the smaller readings, their weight blocks added, gather the
// weights 32 bits at a time (the low half is the weight; the table runs past every block) and
// add them up. The two padding lanes of the first half read weight 0 of block 0 and are masked.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline int ReadingsWeightSum(
    const PatternReadings& readings, const std::int16_t* weights) {
    alignas(32) static constexpr std::array<int, BackwardLane> Offsets = [] {
        std::array<int, BackwardLane> offsets{};
        for (int i = 0; i < PatternInstances; ++i)
            offsets[i] = InstanceOffsets[i];
        return offsets;
    }();
    const auto* lanes = reinterpret_cast<const __m256i*>(readings.lane.data());
    const auto* base = reinterpret_cast<const int*>(weights);
    __m256i sum = _mm256_setzero_si256();
    for (int v = 0; v < BackwardLane / 16; ++v) {
        const __m256i index = _mm256_min_epu16(_mm256_load_si256(lanes + v),
                                               _mm256_load_si256(lanes + BackwardLane / 16 + v));
        for (int h = 0; h < 2; ++h) {
            const __m256i wide = _mm256_add_epi32(
                _mm256_cvtepu16_epi32(h == 0 ? _mm256_castsi256_si128(index)
                                             : _mm256_extracti128_si256(index, 1)),
                _mm256_load_si256(
                    reinterpret_cast<const __m256i*>(Offsets.data() + 16 * v + 8 * h)));
            __m256i w = _mm256_i32gather_epi32(base, wide, 2);
            w = _mm256_srai_epi32(_mm256_slli_epi32(w, 16), 16);
            if (v == 2 && h == 1) w = _mm256_blend_epi32(w, _mm256_setzero_si256(), 0xC0);
            sum = _mm256_add_epi32(sum, w);
        }
    }
    __m128i s = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
    s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0x4E));
    s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0xB1));
    return _mm_cvtsi128_si32(s);
}

}  // namespace avx2
#endif

}  // namespace vell
