#pragma once

#include <cstdint>

#include "core/bitboard.h"

namespace vell {

// Leaf count of the move tree to `depth` plies from the position where the side owning `own`
// moves. Depth 0 counts 1; a position where neither side can move counts 1 at any depth; a side
// without a legal move passes, and the pass uses one ply.
std::uint64_t Perft(Bitboard own, Bitboard opp, int depth);

}  // namespace vell
