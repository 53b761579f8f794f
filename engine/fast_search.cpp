#include "engine/fast_search.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <climits>
#include <cstdlib>

#include "core/player_names.h"
#include "engine/evaluators.h"
#include "engine/search.h"

namespace vell {

namespace {

constexpr int AbortPollInterval = 4096;

// Bounds of "no bound"; negating either stays in range.
constexpr int Unbounded = INT_MAX;

// Nodes with less remaining depth are searched without the table: probing costs more than the
// few leaves it could save.
constexpr int MinTableDepth = 2;
// From this remaining depth on, moves are ordered by the evaluation of the child instead of by
// the opponent's mobility.
constexpr int EvalOrderDepth = 3;

struct Move {
    int square;
    int score;
    Bitboard flips;
};

// A value of `side`'s frame from black's, and back.
inline int Frame(int side, int blackValue) {
    return side == Black ? blackValue : -blackValue;
}

// Sorts by score, highest first, keeping the square order among equal scores.
inline void SortMoves(Move* moves, int count) {
    for (int i = 1; i < count; ++i) {
        const Move m = moves[i];
        int j = i;
        while (j > 0 && moves[j - 1].score < m.score) {
            moves[j] = moves[j - 1];
            --j;
        }
        moves[j] = m;
    }
}

// The slot of the bucket holding this position for this think, or null.
inline TableEntry* Find(TableEntry* bucket, Bitboard black, Bitboard white, int side,
                        std::uint32_t generation) {
    for (int k = 0; k < 2; ++k) {
        TableEntry& e = bucket[k];
        if (e.generation == generation && e.black == black && e.white == white && e.side == side)
            return &e;
    }
    return nullptr;
}

}  // namespace

TranspositionTable::TranspositionTable(std::size_t bytes) {
    std::size_t count = std::bit_floor(std::max<std::size_t>(bytes / sizeof(TableEntry), 2));
    // calloc hands out zeroed pages without touching them; a failure leaves the table empty
    // and the search runs without it.
    while (count >= 2 && !entries) {
        entries = static_cast<TableEntry*>(std::calloc(count, sizeof(TableEntry)));
        if (!entries) count /= 2;
    }
    bucketMask = entries ? count / 2 - 1 : 0;
}

TranspositionTable::~TranspositionTable() {
    std::free(entries);
}

void TranspositionTable::NextGeneration() {
    ++generation;
    if (generation == 0) {  // after 2^32 thinks: forget everything rather than misread it
        const std::size_t count = (bucketMask + 1) * 2;
        if (entries) std::fill(entries, entries + count, TableEntry{});
        generation = 1;
    }
}

TableEntry* TranspositionTable::Bucket(Bitboard black, Bitboard white, int side) const {
    if (!entries) return nullptr;
    std::uint64_t h = black * 0x9E3779B97F4A7C15ULL;
    h ^= (white + static_cast<std::uint64_t>(side)) * 0xC2B2AE3D27D4EB4FULL;
    h ^= h >> 29;
    return entries + 2 * (h & bucketMask);
}

FastSearchRun::FastSearchRun(const EvalContext& context, TranspositionTable& table,
                             ThinkControl* control)
    : context(context), table(table), control(control) {}

bool FastSearchRun::PollAbort() {
    if (--abortCountdown > 0) return false;
    abortCountdown = AbortPollInterval;
    if (control && control->AbortRequested()) aborted = true;
    return aborted;
}

// The value, in the frame of `side`, of the position after `side` has moved (`own` its stones,
// `opp` the other side's) with `depth` plies left: the horizon, the opponent's reply, the same
// side again when the opponent must pass, or the end of the game.
template <class Eval>
int FastSearchRun::Child(const Eval& eval, Bitboard own, Bitboard opp, int side, int depth,
                         int alpha, int beta) {
    if (depth == 0) {
        ++nodes;
        return Frame(side,
                     side == Black ? eval.Horizon(own, opp, White) : eval.Horizon(opp, own, Black));
    }
    if (LegalMoves(opp, own)) return -Node(eval, opp, own, 1 - side, depth, -beta, -alpha);
    if (LegalMoves(own, opp)) return Node(eval, own, opp, side, depth, alpha, beta);
    ++nodes;
    return Frame(side, side == Black ? eval.Final(own, opp) : eval.Final(opp, own));
}

// Fail-soft principal variation search of a node where `side` (stones `own`) has a legal move,
// `depth` >= 1 plies left: a result at or below alpha is an upper bound, one at or above beta a
// lower bound, anything between is the exact value (mover's frame).
template <class Eval>
int FastSearchRun::Node(const Eval& eval, Bitboard own, Bitboard opp, int side, int depth,
                        int alpha, int beta) {
    ++nodes;
    if (PollAbort()) return 0;
    Bitboard legal = LegalMoves(own, opp);
    assert(legal);

    if (depth == 1) {
        int best = INT_MIN;
        for (; legal; legal &= legal - 1) {
            const int s = std::countr_zero(legal);
            const Bitboard flips = Flips(own, opp, s);
            const int v = Child(eval, own | flips | SquareBB(s), opp & ~flips, side, 0, 0, 0);
            if (v > best) {
                best = v;
                if (v >= beta) break;
            }
        }
        return best;
    }

    // Past the number of empty squares more depth changes nothing: the game ends first.
    const int empties = 64 - std::popcount(own | opp);
    const int key = std::min(depth, empties);
    const Bitboard black = side == Black ? own : opp, white = side == Black ? opp : own;
    TableEntry* bucket = key >= MinTableDepth ? table.Bucket(black, white, side) : nullptr;
    int tableMove = -1;
    if (bucket) {
        if (const TableEntry* e = Find(bucket, black, white, side, table.Generation())) {
            tableMove = e->move;
            if (e->depth == key) {
                if (e->lower >= beta) return e->lower;
                if (e->upper <= alpha) return e->upper;
                if (e->lower == e->upper) return e->lower;
            }
        }
    }

    Move moves[64];
    int count = 0;
    const bool evalOrder = depth >= EvalOrderDepth && depth < empties;
    for (; legal; legal &= legal - 1) {
        const int s = std::countr_zero(legal);
        Move& m = moves[count++];
        m.square = s;
        m.flips = Flips(own, opp, s);
        const Bitboard mover = own | m.flips | SquareBB(s), other = opp & ~m.flips;
        if (s == tableMove) {
            m.score = INT_MAX;
        } else if (evalOrder) {
            m.score = Frame(side, side == Black ? eval.Horizon(mover, other, White)
                                                : eval.Horizon(other, mover, Black));
        } else {
            const int replies = std::popcount(LegalMoves(other, mover));
            m.score = replies == 0 ? 64 : -replies;
            if (SquareBB(s) & evaluators::CornersBB) m.score += 8;
        }
    }
    SortMoves(moves, count);

    const int alphaIn = alpha;
    int best = INT_MIN, bestMove = -1;
    for (int i = 0; i < count; ++i) {
        const Move& m = moves[i];
        const Bitboard mover = own | m.flips | SquareBB(m.square), other = opp & ~m.flips;
        int v;
        if (i == 0) {
            v = Child(eval, mover, other, side, depth - 1, alpha, beta);
        } else {
            const int a = std::max(alpha, best);
            v = Child(eval, mover, other, side, depth - 1, a, a + 1);
            if (!aborted && v > a && v < beta)
                v = Child(eval, mover, other, side, depth - 1, a, beta);
        }
        if (aborted) return 0;
        if (v > best) {
            best = v;
            bestMove = m.square;
            if (v >= beta) break;
        }
    }

    if (bucket) {
        // The children may have used the bucket meanwhile: look for the position again.
        const std::uint32_t generation = table.Generation();
        TableEntry* entry = Find(bucket, black, white, side, generation);
        if (!entry) {
            entry = (bucket[0].generation != generation || bucket[0].depth <= key) ? &bucket[0]
                                                                                   : &bucket[1];
            *entry = TableEntry{black,
                                white,
                                -Unbounded,
                                Unbounded,
                                generation,
                                static_cast<std::uint8_t>(key),
                                static_cast<std::uint8_t>(side),
                                -1,
                                0};
        } else if (entry->depth != key) {
            entry->depth = static_cast<std::uint8_t>(key);
            entry->lower = -Unbounded;
            entry->upper = Unbounded;
        }
        if (best > alphaIn) entry->lower = std::max(entry->lower, best);
        if (best < beta) entry->upper = std::min(entry->upper, best);
        entry->move = static_cast<std::int8_t>(bestMove);
    }
    return best;
}

// Iterative deepening at the root. Every root move's value is proved exactly where it could
// be the best: a move of a lower square than the best so far must only reach the best value
// (a null window one below it), a higher square must beat it.
template <class Eval>
int FastSearchRun::Root(const Eval& eval, Bitboard own, Bitboard opp, int side) {
    Move moves[64];
    int count = 0;
    for (Bitboard legal = LegalMoves(own, opp); legal; legal &= legal - 1) {
        const int s = std::countr_zero(legal);
        const Bitboard flips = Flips(own, opp, s);
        const int replies = std::popcount(LegalMoves(opp & ~flips, own | flips | SquareBB(s)));
        moves[count++] = Move{s, -replies, flips};
    }
    SortMoves(moves, count);

    const int empties = 64 - std::popcount(own | opp);
    const int lastDepth = std::min(depthLimit, empties);
    int best = INT_MIN, bestSquare = -1;
    for (int depth = 1; depth <= lastDepth; ++depth) {
        best = INT_MIN;
        bestSquare = -1;
        int bestIndex = 0;
        for (int i = 0; i < count; ++i) {
            const Move& m = moves[i];
            const Bitboard mover = own | m.flips | SquareBB(m.square), other = opp & ~m.flips;
            int v;
            if (i == 0) {
                v = Child(eval, mover, other, side, depth - 1, -Unbounded, Unbounded);
            } else {
                const int a = m.square < bestSquare ? best - 1 : best;
                v = Child(eval, mover, other, side, depth - 1, a, a + 1);
                if (!aborted && v > a) v = Child(eval, mover, other, side, depth - 1, a, Unbounded);
            }
            if (aborted) return 0;
            if (v > best || (v == best && m.square < bestSquare)) {
                best = v;
                bestSquare = m.square;
                bestIndex = i;
            }
        }
        // The next iteration starts with this one's best move.
        std::rotate(moves, moves + bestIndex, moves + bestIndex + 1);
        depthReached.store(depth, std::memory_order_relaxed);
        if (control) control->ReportDepth(depth);
    }
    chosenSquare = bestSquare;
    return Frame(side, best);
}

int FastSearchRun::Search(const Board& board, int side) {
    assert(depthLimit >= 1);
    assert(!context.bookMode);
    ++nodes;
    const Bitboard own = StonesOf(board, side), opp = StonesOf(board, 1 - side);
    if (!LegalMoves(own, opp)) {
        chosenSquare = -1;
        return NoMove;
    }
    table.NextGeneration();
    switch (context.playerType) {
        case CpuPat1Player:
            assert(context.weights);
            return Root(CpuPat1Evaluator{context.weights}, own, opp, side);
        case CpuPat2Player:
            assert(context.weights);
            return Root(CpuPat2Evaluator{context.weights}, own, opp, side);
        default:
            assert(context.playerType == Cpu1Player);
            return Root(Cpu1Evaluator{}, own, opp, side);
    }
}

TablePool::Lease::Lease(TablePool& pool) : pool(pool) {
    if (!pool.claimed.exchange(true, std::memory_order_acquire)) {
        shared = true;
        if (!pool.table) pool.table = std::make_unique<TranspositionTable>(pool.bytes);
        table = pool.table.get();
    } else {
        own = std::make_unique<TranspositionTable>(std::min(pool.bytes, std::size_t{1} << 20));
        table = own.get();
    }
}

TablePool::Lease::~Lease() {
    if (shared) pool.claimed.store(false, std::memory_order_release);
}

}  // namespace vell
