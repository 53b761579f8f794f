#pragma once

// Move generation and flips on four 64-bit lanes at once, for processors with 256-bit integer
// vectors. Only code built for that instruction set may call these, and only after
// the processor supports CpuLevel::Avx2. Each gives exactly what its counterpart in bitboard.h
// gives.

#include <array>
#include <cstdint>

#include "core/bitboard.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VELL_HAVE_AVX2 1
// The instruction set of every function built for these routines.
#define VELL_AVX2_TARGET "avx2,popcnt"
#include <immintrin.h>

namespace vell::avx2 {

namespace detail {

// The rays of a square split by the way their bits run: toward higher indices (steps +1, +8, +7,
// +9) and toward lower ones (-1, -8, -9, -7), one ray per lane.
struct alignas(32) RayQuad {
    std::array<Bitboard, 4> up, down;
};

constexpr std::array<RayQuad, 64> MakeRayQuads() {
    std::array<RayQuad, 64> quads{};
    for (int s = 0; s < 64; ++s)
        for (int i = 0, u = 0, d = 0; i < 8; ++i) {
            if (Directions[i].Step() > 0)
                quads[s].up[u++] = Rays[s][i];
            else
                quads[s].down[d++] = Rays[s][i];
        }
    return quads;
}

inline constexpr std::array<RayQuad, 64> RayQuads = MakeRayQuads();

[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline Bitboard OrLanes(
    __m256i v) {
    __m128i o = _mm_or_si128(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    o = _mm_or_si128(o, _mm_unpackhi_epi64(o, o));
    return static_cast<Bitboard>(_mm_cvtsi128_si64(o));
}

// The squares next to a run of `o` along each lane's axis (both ways) that continues to an
// empty square, as AxisMoves: lane steps 8, 1, 7, 9, with `o` masked off the top and bottom
// rows for the three axes that cross rows.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline __m256i AxisMoves(
    __m256i empty, __m256i o) {
    const __m256i k = _mm256_set_epi64x(9, 7, 1, 8), k2 = _mm256_add_epi64(k, k);
    __m256i f = _mm256_and_si256(o, _mm256_srlv_epi64(empty, k));
    __m256i g = _mm256_and_si256(o, _mm256_sllv_epi64(empty, k));
    f = _mm256_or_si256(f, _mm256_and_si256(o, _mm256_srlv_epi64(f, k)));
    g = _mm256_or_si256(g, _mm256_and_si256(o, _mm256_sllv_epi64(g, k)));
    const __m256i preF = _mm256_and_si256(o, _mm256_srlv_epi64(o, k));
    const __m256i preG = _mm256_sllv_epi64(preF, k);  // o & (o << k)
    f = _mm256_or_si256(f, _mm256_and_si256(preF, _mm256_srlv_epi64(f, k2)));
    g = _mm256_or_si256(g, _mm256_and_si256(preG, _mm256_sllv_epi64(g, k2)));
    f = _mm256_or_si256(f, _mm256_and_si256(preF, _mm256_srlv_epi64(f, k2)));
    g = _mm256_or_si256(g, _mm256_and_si256(preG, _mm256_sllv_epi64(g, k2)));
    return _mm256_or_si256(_mm256_srlv_epi64(f, k), _mm256_sllv_epi64(g, k));
}

[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline __m256i AxisMask() {
    constexpr long long Inner = static_cast<long long>(~(Row0BB | Row7BB));
    return _mm256_set_epi64x(Inner, Inner, Inner, -1);
}

}  // namespace detail

// As LegalMoves(own, opp).
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline Bitboard LegalMoves(
    Bitboard own, Bitboard opp) {
    const Bitboard empty = ~(own | opp);
    const __m256i o =
        _mm256_and_si256(_mm256_set1_epi64x(static_cast<long long>(opp)), detail::AxisMask());
    return empty &
           detail::OrLanes(detail::AxisMoves(_mm256_set1_epi64x(static_cast<long long>(empty)), o));
}

struct MovePair {
    Bitboard black, white;
};

// LegalMoves for both colours in one pass: black's moves (runs of white stones) and white's.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline MovePair LegalMovesOfBoth(
    Bitboard black, Bitboard white) {
    const Bitboard emptyBits = ~(black | white);
    const __m256i empty = _mm256_set1_epi64x(static_cast<long long>(emptyBits));
    const __m256i mask = detail::AxisMask();
    const __m256i w = _mm256_and_si256(_mm256_set1_epi64x(static_cast<long long>(white)), mask);
    const __m256i b = _mm256_and_si256(_mm256_set1_epi64x(static_cast<long long>(black)), mask);
    const __m256i toBlack = detail::AxisMoves(empty, w), toWhite = detail::AxisMoves(empty, b);
    // Both reductions at once: black's lanes in the low quarter of each half, white's above.
    const __m256i both = _mm256_or_si256(_mm256_unpacklo_epi64(toBlack, toWhite),
                                         _mm256_unpackhi_epi64(toBlack, toWhite));
    const __m128i half =
        _mm_and_si128(_mm_or_si128(_mm256_castsi256_si128(both), _mm256_extracti128_si256(both, 1)),
                      _mm256_castsi256_si128(empty));
    return {static_cast<Bitboard>(_mm_cvtsi128_si64(half)),
            static_cast<Bitboard>(_mm_extract_epi64(half, 1))};
}

// As Flips(own, opp, s): along each ray the run of `opp` next to s turns when the first square
// past it is empty. Rays running up find that square as their lowest non-`opp` bit, rays
// running down as their highest.
[[gnu::always_inline]] __attribute__((target(VELL_AVX2_TARGET))) inline Bitboard Flips(Bitboard own,
                                                                                       Bitboard opp,
                                                                                       int s) {
    const __m256i o = _mm256_set1_epi64x(static_cast<long long>(opp));
    const __m256i empty = _mm256_set1_epi64x(static_cast<long long>(~(own | opp)));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i up =
        _mm256_load_si256(reinterpret_cast<const __m256i*>(detail::RayQuads[s].up.data()));
    const __m256i down =
        _mm256_load_si256(reinterpret_cast<const __m256i*>(detail::RayQuads[s].down.data()));

    const __m256i stopUp = _mm256_andnot_si256(o, up);
    const __m256i firstUp = _mm256_and_si256(stopUp, _mm256_sub_epi64(zero, stopUp));
    const __m256i noUp = _mm256_cmpeq_epi64(_mm256_and_si256(firstUp, empty), zero);
    const __m256i flipsUp = _mm256_andnot_si256(
        noUp, _mm256_and_si256(up, _mm256_sub_epi64(firstUp, _mm256_set1_epi64x(1))));

    // Smear the highest stop bit over the ray squares below it (seven steps of the lane's
    // stride cover any ray); the ray squares above are the run.
    const __m256i k = _mm256_set_epi64x(7, 9, 8, 1);
    const __m256i stopDown = _mm256_andnot_si256(o, down);
    __m256i below = _mm256_or_si256(stopDown, _mm256_srlv_epi64(stopDown, k));
    below = _mm256_or_si256(below, _mm256_srlv_epi64(below, _mm256_add_epi64(k, k)));
    below = _mm256_or_si256(below, _mm256_srlv_epi64(below, _mm256_slli_epi64(k, 2)));
    const __m256i firstDown = _mm256_andnot_si256(_mm256_srlv_epi64(below, k), stopDown);
    const __m256i noDown = _mm256_cmpeq_epi64(_mm256_and_si256(firstDown, empty), zero);
    const __m256i flipsDown = _mm256_andnot_si256(noDown, _mm256_andnot_si256(below, down));

    return detail::OrLanes(_mm256_or_si256(flipsUp, flipsDown));
}

}  // namespace vell::avx2

#endif
