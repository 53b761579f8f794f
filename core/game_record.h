#pragma once

#include <array>
#include <cstdint>

namespace vell {

// One finished game in 62 bytes: [0] black minus white stones on the final board (signed),
// [1] number of moves N (0..60), [2 + k] move k: bits 0-5 the square, bits 6-7 the colour.
// Passes are not stored; they show as two moves of the same colour in a row.
struct GameRecord {
    std::array<std::uint8_t, 62> bytes{};

    int Result() const { return static_cast<std::int8_t>(bytes[0]); }
    int MoveCount() const { return static_cast<std::int8_t>(bytes[1]); }
    int Square(int k) const { return bytes[2 + k] & 63; }
    int Colour(int k) const { return bytes[2 + k] >> 6; }
};

}  // namespace vell
