#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/board.h"
#include "core/think.h"
#include "engine/evaluation.h"
#include "engine/table_memory.h"

namespace vell {

// One slot of the transposition table: the value bounds of one position with one side to move
// and one remaining depth, and the best move found there at whatever depth was searched last.
// The full position is stored, so a probe never takes another position's bounds.
struct TableEntry {
    Bitboard black = 0, white = 0;
    std::int32_t lower = 0, upper = 0;  // mover's frame; lower <= value <= upper
    std::uint32_t generation = 0;       // the think that wrote it; 0 never matches
    std::uint8_t depth = 0;             // remaining depth of the bounds
    std::uint8_t side = 0;
    std::int8_t move = -1;  // best square found, -1 none
    std::uint8_t spare = 0;
};

// A bounded table of TableEntry, zeroed on allocation. Each think takes a fresh generation, so
// nothing written for one evaluator or one set of weights is read by the next think. A table of
// at least TablePageBytes starts on a page boundary and takes the memory advice, if any.
class TranspositionTable {
  public:
    // `bytes` is rounded down to a power of two number of entries, at least two. `advice` is
    // called here, before the constructor returns, or not at all.
    explicit TranspositionTable(std::size_t bytes, TableMemoryAdvice advice = nullptr);
    ~TranspositionTable();
    TranspositionTable(const TranspositionTable&) = delete;
    TranspositionTable& operator=(const TranspositionTable&) = delete;

    // Touches every page of the table now, so that no search pays for the first touch of its
    // memory later. A table is not touched when it is allocated: the first search of a fresh
    // table takes the page faults of the memory it uses and no more.
    void Prefault();
    // Starts a new think: entries of earlier thinks read as empty. The think keeps to the first
    // `spanBytes` of the table (whole buckets, a power of two of them, at least one; all of it
    // by default): the positions of a small search, kept together, stay in the processor's
    // caches, where spread over a large table nearly every look-up would miss them.
    void NextGeneration(std::size_t spanBytes = ~std::size_t{0});
    std::uint32_t Generation() const { return generation; }
    // The two slots that can hold a position; null when the allocation failed.
    TableEntry* Bucket(Bitboard black, Bitboard white, int side) const {
        if (!entries) return nullptr;
        // The products mix low squares into high bits only; the folds bring every square
        // down to the bits that pick the bucket.
        std::uint64_t h = black * 0x9E3779B97F4A7C15ULL;
        h ^= (white + static_cast<std::uint64_t>(side)) * 0xC2B2AE3D27D4EB4FULL;
        h ^= h >> 32;
        h *= 0xD6E8FEB86659FD93ULL;
        h ^= h >> 32;
        return entries + 2 * (h & spanMask);
    }
    // Starts loading the bucket of a position the search is about to look up.
    void Prefetch(Bitboard black, Bitboard white, int side) const {
        if (entries) __builtin_prefetch(Bucket(black, white, side));
    }
    bool Allocated() const { return entries != nullptr; }

  private:
    void* memory = nullptr;
    TableEntry* entries = nullptr;  // in `memory`, each bucket within one 64-byte cache line
    std::size_t bucketMask = 0;
    std::size_t spanMask = 0;  // the buckets of this think: a power of two less one, <= bucketMask
    std::uint32_t generation = 0;
};

// The table size of one thinking engine.
constexpr std::size_t DefaultTableBytes = std::size_t{64} << 20;

// The exact enhanced search: iterative deepening, a transposition table, move ordering and
// null-window (principal variation) searches. It proves the value the plain SearchRun returns
// for the same position, depth limit and evaluation (passes cost no depth, the end of the game
// scored as final), and chooses the same square: the lowest among the root moves of best
// value. Its node count is its own. Only for evaluations that depend on the position alone
// ("CPU-1", "CPU-PAT1", "CPU-PAT2", not book mode): random draws depend on the call order.
class FastSearchRun {
  public:
    // `table` must not be used by another search while this one runs. `control` (may be null)
    // is polled for a stop request and told each completed iteration's depth.
    FastSearchRun(const EvalContext& context, TranspositionTable& table,
                  ThinkControl* control = nullptr);

    // As SearchRun::Search with the full root window: the value in black's frame, or NoMove
    // when `side` has no legal move (chosenSquare -1). After a stop request `aborted` is set and
    // the result means nothing.
    int Search(const Board& board, int side);

    int depthLimit = 1;
    int chosenSquare = -1;
    std::uint64_t nodes = 0;
    // Set when the search stopped before its last iteration: on a stop request, or on a request
    // to play now (ThinkControl::PlayNowRequested, heeded once the first iteration is complete:
    // depth 1, or depth 2 when the depth limit is even and short of the end).
    bool aborted = false;
    // The last completed iteration: its depth (0 none), value (black's frame) and square. After
    // a request to play now these are the answer to play.
    int completedDepth = 0, completedValue = 0, completedSquare = -1;
    // The depth of the last completed iteration, readable from any thread.
    std::atomic<int> depthReached{0};

  private:
    EvalContext context;
    TranspositionTable& table;
    ThinkControl* control;
    int abortCountdown = 1;
};

// The table of one thinking engine, claimed by one think at a time. A think that finds it
// claimed (two thinks at once) gets a small table of its own instead, so no two searches ever
// share one.
class TablePool {
  public:
    // `advice` goes to the pool's own table; the small tables of concurrent thinks take none.
    explicit TablePool(std::size_t bytes = DefaultTableBytes, TableMemoryAdvice advice = nullptr)
        : bytes(bytes), advice(advice) {}

    class Lease {
      public:
        Lease(TablePool& pool);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        TranspositionTable& Table() { return *table; }

      private:
        TablePool& pool;
        bool shared = false;
        std::unique_ptr<TranspositionTable> own;
        TranspositionTable* table = nullptr;
    };

  private:
    std::size_t bytes;
    TableMemoryAdvice advice;
    std::atomic<bool> claimed{false};
    std::unique_ptr<TranspositionTable> table;  // allocated by the first think that claims it
};

}  // namespace vell
