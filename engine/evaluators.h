#pragma once

#include <bit>
#include <cstdint>

#include "book/book.h"
#include "core/bitboard.h"
#include "core/board.h"
#include "core/random.h"
#include "learning/pattern_eval.h"
#include "learning/weights.h"

namespace vell {

// The static evaluation on bitboards, one type per player type, so the search picks its
// evaluator once per think. Horizon() is the evaluation of a node at the depth limit (game-over
// flag 0); Final() that of a node where neither side can move (game-over flag 1, side 0).
// Each gives exactly the value EvaluatePosition gives for the same board.

namespace evaluators {

constexpr Bitboard CornersBB = SquareBB(0) | SquareBB(7) | SquareBB(56) | SquareBB(63);
constexpr Bitboard XSquaresBB = SquareBB(9) | SquareBB(14) | SquareBB(49) | SquareBB(54);

inline int FinalValue(Bitboard black, Bitboard white) {
    return (std::popcount(black) - std::popcount(white)) * 1000;
}

inline int Empties(Bitboard black, Bitboard white) {
    return 64 - std::popcount(black | white);
}

// The hand-made formula: discs (black rewarded for fewer while more than 5 squares are empty,
// unless `alwaysFewer`), corners +50000, X-squares -10000, mobility 1000 per move.
inline int HandValue(Bitboard black, Bitboard white, int empties, bool alwaysFewer) {
    const int discs = std::popcount(white) - std::popcount(black);
    const int d = (alwaysFewer || empties > 5) ? discs : -discs;
    const int q = 50000 * (std::popcount(black & CornersBB) - std::popcount(white & CornersBB)) -
                  10000 * (std::popcount(black & XSquaresBB) - std::popcount(white & XSquaresBB));
    const int m = std::popcount(LegalMoves(black, white)) - std::popcount(LegalMoves(white, black));
    return 1000 * d + q + 1000 * m;
}

// The "CPU-PAT1" mix for 5 or more empties: pattern + (hand - pattern) x (empties - 5) / 60,
// the product formed before the division, which truncates toward zero. The product is taken in
// 64 bits, since extreme weights could carry it past 32.
inline int Blend(int hand, int pattern, int empties) {
    return pattern +
           static_cast<int>((static_cast<std::int64_t>(hand) - pattern) * (empties - 5) / 60);
}

// Book mode: 0 when the position is not in the book (or there is no book), the found value
// otherwise, a found 0 being reported as 1 so that 0 always means "not in the book".
inline int BookValue(const Book* book, const Board& board) {
    if (!book) return 0;
    const BookLookup lookup = book->Lookup(board, 60 - CountStones(board)[Empty]);
    if (!lookup.found) return 0;
    return lookup.value == 0 ? 1 : lookup.value;
}

}  // namespace evaluators

struct Cpu1Evaluator {
    int Horizon(Bitboard black, Bitboard white, int /*side*/) const {
        const int e = evaluators::Empties(black, white);
        if (e == 0) return evaluators::FinalValue(black, white);
        return evaluators::HandValue(black, white, e, false);
    }
    int Final(Bitboard black, Bitboard white) const { return evaluators::FinalValue(black, white); }
};

// The pattern value blended with the hand value (Blend); below 5 empties the pattern value alone.
struct CpuPat1Evaluator {
    const WeightTable* weights;
    int Horizon(Bitboard black, Bitboard white, int side) const {
        const int e = evaluators::Empties(black, white);
        if (e == 0) return evaluators::FinalValue(black, white);
        const int p = PatternEvaluate(black, white, side, *weights);
        if (e < 5) return p;
        return evaluators::Blend(evaluators::HandValue(black, white, e, true), p, e);
    }
    int Final(Bitboard black, Bitboard white) const { return evaluators::FinalValue(black, white); }
};

struct CpuPat2Evaluator {
    const WeightTable* weights;
    int Horizon(Bitboard black, Bitboard white, int side) const {
        if (evaluators::Empties(black, white) == 0) return evaluators::FinalValue(black, white);
        return PatternEvaluate(black, white, side, *weights);
    }
    int Final(Bitboard black, Bitboard white) const { return evaluators::FinalValue(black, white); }
};

// "Human" and "CPU-1-2": the calling thread's next draw, whatever the position.
struct RandomEvaluator {
    int Horizon(Bitboard, Bitboard, int) const { return Random(); }
    int Final(Bitboard, Bitboard) const { return Random(); }
};

// Book mode answers from the book for every node, whatever the player type or the game-over flag.
struct BookEvaluator {
    const Book* book;
    int Horizon(Bitboard black, Bitboard white, int) const { return Final(black, white); }
    int Final(Bitboard black, Bitboard white) const {
        Board board;
        FromBitboards(black, white, board);
        return evaluators::BookValue(book, board);
    }
};

}  // namespace vell
