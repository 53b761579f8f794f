#include "core/perft.h"

#include <bit>

namespace vell {

std::uint64_t Perft(Bitboard own, Bitboard opp, int depth) {
    if (depth == 0) return 1;
    Bitboard moves = LegalMoves(own, opp);
    if (!moves) {
        if (!LegalMoves(opp, own)) return 1;
        return Perft(opp, own, depth - 1);
    }
    if (depth == 1) return std::popcount(moves);
    std::uint64_t nodes = 0;
    for (; moves; moves &= moves - 1) {
        const int s = std::countr_zero(moves);
        const Bitboard flips = Flips(own, opp, s);
        nodes += Perft(opp & ~flips, own | flips | SquareBB(s), depth - 1);
    }
    return nodes;
}

}  // namespace vell
