#include "engine/fast_search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "core/bitboard_avx2.h"
#include "core/cpu_level.h"
#include "core/player_names.h"
#include "engine/evaluators.h"
#include "engine/pattern_readings.h"
#include "engine/search.h"

namespace vell {

namespace {

constexpr int AbortPollInterval = 4096;

// A bucket fills one cache line.
constexpr std::size_t BucketAlignment = 64;

// Bounds of "no bound"; negating either stays in range.
constexpr int Unbounded = INT_MAX;

// Nodes with less remaining depth are searched without the table: probing costs more than the
// few leaves it could save.
constexpr int MinTableDepth = 2;
// From this remaining depth on, moves are ordered by the evaluation of the child less a weight
// per reply left to the opponent (the replies are what the child's search has to refute),
// instead of by the opponent's mobility alone. The weights, in evaluation units (1000 a stone),
// are the ones that gave the fewest nodes at depths 11-13. "CPU-1"'s formula counts mobility
// itself: ordered by mobility alone up to 3 plies left, its searches visit no more nodes and
// skip an evaluation per move.
constexpr int EvalOrderDepth = 3;
constexpr int FormulaEvalOrderDepth = 4;
constexpr int HandReplyWeight = 4000;
constexpr int PatternReplyWeight = 2000;
// From this remaining depth on, a node looks its children up in the table before searching
// any of them but the table's move; in reads to the end, from this many empty squares on
// (below, the look-ups cost more time than the nodes they save).
constexpr int TableCutDepth = 4;
constexpr int ExactTableCutEmpties = 16;
// A read to the end first iterates up to this depth, for the move order alone.
constexpr int ExactOrderingDepth = 4;
// Reads to the end hand positions with this many empty squares or fewer to the endgame solver,
// which searches without the table. With the table held in the caches, 8 (a table node at 9
// squares as well) reads 24 to 30 squares 10-15% faster, but those nodes cost so much more than
// the solver's that small reads fall under 20 M nodes a second.
constexpr int SolverEmpties = 9;

// The part of the table that a read to the end from `empties` empty squares uses: 4 MB up to
// 28 squares, four times as much for every two squares more. Held together, its positions stay
// in the processor's caches; spread over the whole table, nearly every look-up went to memory,
// which cost more time than the few nodes that the larger table saves.
inline std::size_t ReadTableBytes(int empties) {
    return std::size_t{4} << (20 + std::max(0, empties - 28));
}

// The four quadrants of the board (columns 0-3 and 4-7, rows 0-3 and 4-7).
constexpr Bitboard QuadrantsBB[4] = {0x0F0F0F0FULL, 0xF0F0F0F0ULL, 0x0F0F0F0FULL << 32,
                                     0xF0F0F0F0ULL << 32};

struct Move {
    int square;
    int score;
    Bitboard flips;
    Bitboard replies;  // the opponent's legal moves after it, or UnknownReplies
};

// Stands for legal moves not worked out yet: no position has every square free.
constexpr Bitboard UnknownReplies = ~Bitboard{0};

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

// The working values of one search while it runs.
struct FastState {
    TranspositionTable& table;
    ThinkControl* control;
    std::atomic<int>& depthReached;
    int depthLimit;
    int abortCountdown;
    std::uint64_t nodes;
    bool aborted = false;
    int completedDepth = 0, completedValue = 0, completedSquare = -1;
    // For each side, the square of the last leaf that reached beta at the last ply (any square
    // to begin with: it is only tried when legal).
    int lastPlyCut[2] = {0, 0};

    // A stop request ends the search at once; a request to play now ends it once one
    // iteration is complete.
    bool PollAbort() {
        if (--abortCountdown > 0) return false;
        abortCountdown = AbortPollInterval;
        if (control &&
            (control->AbortRequested() || (completedDepth > 0 && control->PlayNowRequested())))
            aborted = true;
        return aborted;
    }

    // An iteration to `depth` is complete: its value (black's frame) and square.
    void Completed(int depth, int value, int square) {
        completedDepth = depth;
        completedValue = value;
        completedSquare = square;
        depthReached.store(depth, std::memory_order_relaxed);
        if (control) control->ReportDepth(depth);
    }
};

// The node, once per processor level.
#define VELL_KERNEL_NODE "engine/fast_search_node.inc"
#include "engine/kernel_copies.inc"
#undef VELL_KERNEL_NODE

}  // namespace

TranspositionTable::TranspositionTable(std::size_t bytes, TableMemoryAdvice advice) {
    static_assert(2 * sizeof(TableEntry) == BucketAlignment);
    std::size_t count = std::bit_floor(std::max<std::size_t>(bytes / sizeof(TableEntry), 2));
    // calloc hands out zeroed pages without touching them; a failure leaves the table empty
    // and the search runs without it. The allocation is one alignment longer than the entries,
    // so that they can start on a boundary.
    std::size_t alignment = BucketAlignment;
    while (count >= 2 && !memory) {
        alignment = count * sizeof(TableEntry) >= TablePageBytes ? TablePageBytes : BucketAlignment;
        memory = std::calloc(count * sizeof(TableEntry) + alignment, 1);
        if (!memory) count /= 2;
    }
    if (!memory) return;
    const std::size_t pad =
        (alignment - reinterpret_cast<std::uintptr_t>(memory) % alignment) % alignment;
    entries = reinterpret_cast<TableEntry*>(static_cast<char*>(memory) + pad);
    bucketMask = count / 2 - 1;
    spanMask = bucketMask;
    if (alignment == TablePageBytes && advice) advice(entries, count * sizeof(TableEntry));
}

TranspositionTable::~TranspositionTable() {
    std::free(memory);
}

void TranspositionTable::Prefault() {
    // A zero written into each page, where the allocator's zeroes already are.
    constexpr std::size_t SmallPageBytes = 4096;
    volatile char* bytes = reinterpret_cast<volatile char*>(entries);
    const std::size_t size = entries ? (bucketMask + 1) * 2 * sizeof(TableEntry) : 0;
    for (std::size_t i = 0; i < size; i += SmallPageBytes)
        bytes[i] = 0;
}

void TranspositionTable::NextGeneration(std::size_t spanBytes) {
    spanMask = std::min(bucketMask,
                        std::bit_floor(std::max<std::size_t>(spanBytes / BucketAlignment, 1)) - 1);
    ++generation;
    if (generation == 0) {  // after 2^32 thinks: forget everything rather than misread it
        const std::size_t count = (bucketMask + 1) * 2;
        if (entries) std::fill(entries, entries + count, TableEntry{});
        generation = 1;
    }
}

FastSearchRun::FastSearchRun(const EvalContext& context, TranspositionTable& table,
                             ThinkControl* control)
    : context(context), table(table), control(control) {}

int FastSearchRun::Search(const Board& board, int side) {
    assert(depthLimit >= 1);
    assert(!context.bookMode);
    ++nodes;
    completedDepth = 0;
    completedSquare = -1;
    const Bitboard own = StonesOf(board, side), opp = StonesOf(board, 1 - side);
    if (!LegalMoves(own, opp)) {
        chosenSquare = -1;
        return NoMove;
    }
    const int empties = 64 - std::popcount(own | opp);
    table.NextGeneration(depthLimit >= empties ? ReadTableBytes(empties) : ~std::size_t{0});
    const bool patterns =
        (context.playerType == CpuPat1Player || context.playerType == CpuPat2Player);
    const std::int16_t* forward =
        patterns ? ForwardTableFor(context.forwardWeights, context.weights) : nullptr;
    FastState state{table, control, depthReached, depthLimit, abortCountdown, nodes};
    int value;
#ifdef VELL_HAVE_POPCNT_KERNEL
    if (KernelLevel() == CpuLevel::Avx2)
        value = vector::Root(state, context, forward, own, opp, side);
    else if (KernelLevel() == CpuLevel::Popcount)
        value = popcnt::Root(state, context, forward, own, opp, side);
    else
#endif
        value = generic::Root(state, context, forward, own, opp, side);
    abortCountdown = state.abortCountdown;
    nodes = state.nodes;
    aborted = state.aborted;
    completedDepth = state.completedDepth;
    completedSquare = state.completedSquare;
    completedValue = state.completedValue;
    chosenSquare = aborted ? -1 : state.completedSquare;
    return value;
}

TablePool::Lease::Lease(TablePool& pool) : pool(pool) {
    if (!pool.claimed.exchange(true, std::memory_order_acquire)) {
        shared = true;
        if (!pool.table) pool.table = std::make_unique<TranspositionTable>(pool.bytes, pool.advice);
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
