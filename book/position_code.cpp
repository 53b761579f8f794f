#include "book/position_code.h"

#include "book/board_symmetry.h"

namespace vell {

namespace {

// Ternary[x]: the sum of 3^t over the set bits t of a five-bit x.
constexpr std::array<int, 32> MakeTernary() {
    std::array<int, 32> ternary{};
    for (int x = 0; x < 32; ++x)
        for (int t = 0, power = 1; t < 5; ++t, power *= 3)
            if (x & (1 << t)) ternary[x] += power;
    return ternary;
}
constexpr auto Ternary = MakeTernary();

// Digit d = 2 - 2 x black - white, so a group of five reads 242 - 2 x T(black) - T(white); the
// last group of four reads 80 - ... the same way.
PositionCode CodeOfImage(Bitboard black, Bitboard white) {
    PositionCode code;
    for (int j = 0; j < 13; ++j) {
        const int shift = 5 * j;
        const int all = j < 12 ? 242 : 80;
        code[j] = static_cast<std::uint8_t>(all - 2 * Ternary[(black >> shift) & 31] -
                                            Ternary[(white >> shift) & 31]);
    }
    return code;
}

}  // namespace

PositionCode EncodePosition(Bitboard black, Bitboard white) {
    const auto blackImages = SymmetricImages(black);
    const auto whiteImages = SymmetricImages(white);
    PositionCode best = CodeOfImage(blackImages[0], whiteImages[0]);
    for (int j = 1; j < SymmetryCount; ++j) {
        const PositionCode code = CodeOfImage(blackImages[j], whiteImages[j]);
        if (code > best) best = code;
    }
    return best;
}

PositionCode EncodePosition(const Board& board) {
    return EncodePosition(StonesOf(board, Black), StonesOf(board, White));
}

}  // namespace vell
