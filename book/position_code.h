#pragma once

#include <array>
#include <cstdint>

#include "core/board.h"

namespace vell {

// A board in base 3, the same for all eight symmetric images of it: 64 digits (0 black,
// 1 white, 2 empty), five to a byte, least significant first; byte 12 holds the last four.
using PositionCode = std::array<std::uint8_t, 13>;

// The greatest, byte by byte from byte 0, of the codes of the board's eight images. The side
// to move plays no part. Squares holding anything but Black or White count as empty.
PositionCode EncodePosition(const Board& board);
// The same from bitboards (no square in both).
PositionCode EncodePosition(Bitboard black, Bitboard white);

}  // namespace vell
