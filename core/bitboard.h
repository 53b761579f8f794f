#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace vell {

// Bit s of a Bitboard stands for square s = column * 8 + row, so one column is one byte and
// the row is the low three bits of the index.
using Bitboard = std::uint64_t;

constexpr Bitboard Row0BB = 0x0101010101010101ULL;
constexpr Bitboard Row7BB = 0x8080808080808080ULL;

constexpr Bitboard SquareBB(int s) {
    return Bitboard{1} << s;
}

// The eight directions as (column step, row step); the index step is column * 8 + row.
struct Direction {
    int column, row;
    constexpr int Step() const { return column * 8 + row; }
};

constexpr std::array<Direction, 8> Directions = {{
    {0, -1},
    {0, 1},
    {-1, 0},
    {1, 0},
    {-1, -1},
    {-1, 1},
    {1, -1},
    {1, 1},
}};

// Moves every stone of b one step in direction d; stones that would leave the board vanish.
// Column steps fall off the ends of the 64-bit word by themselves; row steps must not carry a
// stone from the foot of one column to the head of the next, so those sources are masked.
constexpr Bitboard Shift(Bitboard b, Direction d) {
    if (d.row > 0) b &= ~Row7BB;
    if (d.row < 0) b &= ~Row0BB;
    const int step = d.Step();
    return step > 0 ? b << step : b >> -step;
}

namespace detail {

// Moves along one axis of step k (both ways): empty squares next to a run of up to six stones
// of `o` that continues to an empty square. For axes with a row component `o` holds no stone
// of the top or bottom row, so every shift that would wrap between columns lands on a masked
// square and the shifts need no masks of their own.
template <int K>
constexpr Bitboard AxisMoves(Bitboard empty, Bitboard o) {
    Bitboard f = o & (empty >> K);
    f |= o & (f >> K);
    const Bitboard preF = o & (o >> K);
    f |= preF & (f >> 2 * K);
    f |= preF & (f >> 2 * K);
    Bitboard g = o & (empty << K);
    g |= o & (g << K);
    const Bitboard preG = o & (o << K);
    g |= preG & (g << 2 * K);
    g |= preG & (g << 2 * K);
    return empty & ((f >> K) | (g << K));
}

}  // namespace detail

// Squares where a stone of the side owning `own` turns at least one stone: some direction holds
// a run of `opp` stones that ends at an empty square. Own stones only block.
constexpr Bitboard LegalMoves(Bitboard own, Bitboard opp) {
    const Bitboard empty = ~(own | opp);
    const Bitboard inner = opp & ~(Row0BB | Row7BB);
    return detail::AxisMoves<8>(empty, opp) | detail::AxisMoves<1>(empty, inner) |
           detail::AxisMoves<7>(empty, inner) | detail::AxisMoves<9>(empty, inner);
}

namespace detail {

constexpr std::array<std::array<Bitboard, 8>, 64> MakeRays() {
    std::array<std::array<Bitboard, 8>, 64> rays{};
    for (int s = 0; s < 64; ++s)
        for (int i = 0; i < 8; ++i) {
            int c = s / 8 + Directions[i].column, r = s % 8 + Directions[i].row;
            while (c >= 0 && c < 8 && r >= 0 && r < 8) {
                rays[s][i] |= SquareBB(c * 8 + r);
                c += Directions[i].column;
                r += Directions[i].row;
            }
        }
    return rays;
}

}  // namespace detail

// Rays[s][i]: the squares met walking from s (exclusive) in direction i to the edge.
inline constexpr auto Rays = detail::MakeRays();

namespace detail {

constexpr std::array<std::array<Bitboard, 64>, 64> MakeBetween() {
    std::array<std::array<Bitboard, 64>, 64> between{};
    for (int s = 0; s < 64; ++s)
        for (int i = 0; i < 8; ++i)
            for (Bitboard passed = 0, ray = Rays[s][i]; ray;) {
                // Walk the ray outward: the squares already passed lie between s and the next.
                const int t =
                    Directions[i].Step() > 0 ? std::countr_zero(ray) : 63 - std::countl_zero(ray);
                between[s][t] = passed;
                passed |= SquareBB(t);
                ray &= ~SquareBB(t);
            }
    return between;
}

}  // namespace detail

// BetweenBB[s][t]: the squares strictly between s and t when they share a column, a row or a
// diagonal, else none. A stone placed on s turns exactly the lines BetweenBB[s][e] toward empty
// squares e that hold nothing but opponent stones, which with few empty squares is cheaper
// than walking the eight rays.
inline constexpr auto BetweenBB = detail::MakeBetween();

// Stones turned by a stone of `own` placed on the empty square s. In each direction the run of
// opponent stones next to s turns only when the first square after it is empty; a run that
// meets an own stone or the edge turns nothing.
constexpr Bitboard Flips(Bitboard own, Bitboard opp, int s) {
    const Bitboard empty = ~(own | opp);
    Bitboard flips = 0;
    for (int i = 0; i < 8; ++i) {
        const Bitboard ray = Rays[s][i];
        const Bitboard stop = ray & ~opp;  // the first of these along the ray ends the run
        if (!stop) continue;
        if (Directions[i].Step() > 0) {
            const Bitboard first = stop & (0 - stop);
            if (first & empty) flips |= ray & (first - 1);
        } else {
            const Bitboard first = SquareBB(63 - std::countl_zero(stop));
            if (first & empty) flips |= ray & ~((first << 1) - 1);
        }
    }
    return flips;
}

}  // namespace vell
