#pragma once

#include <array>

#include "core/bitboard.h"

namespace vell {

// The eight symmetries of the board as maps of a square (column c, row r) to a square:
// 0 (c, r) identity, 1 (r, 7-c) quarter turn, 2 (7-c, 7-r) half turn, 3 (7-r, c) three-quarter
// turn, 4 (r, c) main-diagonal reflection, 5 (c, 7-r) rows reversed, 6 (7-r, 7-c) other-diagonal
// reflection, 7 (7-c, r) columns reversed. The pattern weights are numbered by this order.
constexpr int SymmetryCount = 8;

constexpr int MapSquare(int symmetry, int square) {
    const int c = square / 8, r = square % 8;
    switch (symmetry) {
        case 0:
            return c * 8 + r;
        case 1:
            return r * 8 + (7 - c);
        case 2:
            return (7 - c) * 8 + (7 - r);
        case 3:
            return (7 - r) * 8 + c;
        case 4:
            return r * 8 + c;
        case 5:
            return c * 8 + (7 - r);
        case 6:
            return (7 - r) * 8 + (7 - c);
        default:
            return (7 - c) * 8 + r;
    }
}

// (c, r) -> (7-c, r): one column is one byte, so this reverses the bytes.
constexpr Bitboard FlipColumns(Bitboard b) {
    b = ((b >> 8) & 0x00FF00FF00FF00FFULL) | ((b & 0x00FF00FF00FF00FFULL) << 8);
    b = ((b >> 16) & 0x0000FFFF0000FFFFULL) | ((b & 0x0000FFFF0000FFFFULL) << 16);
    return (b >> 32) | (b << 32);
}

// (c, r) -> (c, 7-r): reverses the bits of every byte.
constexpr Bitboard FlipRows(Bitboard b) {
    b = ((b >> 1) & 0x5555555555555555ULL) | ((b & 0x5555555555555555ULL) << 1);
    b = ((b >> 2) & 0x3333333333333333ULL) | ((b & 0x3333333333333333ULL) << 2);
    return ((b >> 4) & 0x0F0F0F0F0F0F0F0FULL) | ((b & 0x0F0F0F0F0F0F0F0FULL) << 4);
}

// (c, r) -> (r, c).
constexpr Bitboard Transpose(Bitboard b) {
    Bitboard t = 0x0F0F0F0F00000000ULL & (b ^ (b << 28));
    b ^= t ^ (t >> 28);
    t = 0x3333000033330000ULL & (b ^ (b << 14));
    b ^= t ^ (t >> 14);
    t = 0x5500550055005500ULL & (b ^ (b << 7));
    return b ^ t ^ (t >> 7);
}

// Image j holds at square s the stone of square MapSquare(j, s) of b. Image j ^ 4 is the
// transpose of image j.
constexpr std::array<Bitboard, SymmetryCount> SymmetricImages(Bitboard b) {
    const Bitboard t = Transpose(b);
    const Bitboard rows = FlipRows(b), rowsT = FlipRows(t);
    return {b, FlipColumns(t), FlipColumns(rows),  rowsT,
            t, rows,           FlipColumns(rowsT), FlipColumns(b)};
}

}  // namespace vell
