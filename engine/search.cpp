#include "engine/search.h"

#include <bit>
#include <cassert>

#include "core/bitboard_avx2.h"
#include "core/cpu_level.h"
#include "core/player_names.h"
#include "engine/evaluators.h"
#include "engine/pattern_readings.h"

namespace vell {

namespace {

// Nodes between two looks at the stop request: a few hundred microseconds of search.
constexpr int AbortPollInterval = 4096;

// The working values of one search while it runs.
struct NodeState {
    const ThinkControl* control;
    int depthLimit;
    int abortCountdown;
    int chosenSquare;
    std::uint64_t nodes;
    bool aborted;

    bool PollAbort() {
        if (--abortCountdown > 0) return false;
        abortCountdown = AbortPollInterval;
        if (control && (control->AbortRequested() || control->PlayNowRequested())) aborted = true;
        return aborted;
    }
};

// The node is built three times: for any x86-64 processor, for one that counts bits in one
// instruction (without it every bit count is a library call), and for one with 256-bit integer
// vectors as well, which generates moves, flips and pattern readings on vectors. The helpers
// the first two inline come from the headers above, built for any processor, so nothing
// outside these copies needs the instructions; the vector copy calls only helpers built for
// its own instruction set.
#define VELL_KERNEL generic
#define VELL_KERNEL_AVX2 0
#include "engine/search_node.inc"
#undef VELL_KERNEL_AVX2
#undef VELL_KERNEL

#if defined(__x86_64__) && defined(__clang__)
#pragma clang attribute push(__attribute__((target("popcnt"))), apply_to = function)
#define VELL_KERNEL popcnt
#define VELL_KERNEL_AVX2 0
#include "engine/search_node.inc"
#undef VELL_KERNEL_AVX2
#undef VELL_KERNEL
#pragma clang attribute pop
#pragma clang attribute push(__attribute__((target("avx2,popcnt"))), apply_to = function)
#define VELL_KERNEL vector
#define VELL_KERNEL_AVX2 1
#include "engine/search_node.inc"
#undef VELL_KERNEL_AVX2
#undef VELL_KERNEL
#pragma clang attribute pop
#define VELL_HAVE_POPCNT_KERNEL 1
#elif defined(__x86_64__) && defined(__GNUC__)
#pragma GCC push_options
#pragma GCC target("popcnt")
#define VELL_KERNEL popcnt
#define VELL_KERNEL_AVX2 0
#include "engine/search_node.inc"
#undef VELL_KERNEL_AVX2
#undef VELL_KERNEL
#pragma GCC pop_options
#pragma GCC push_options
#pragma GCC target("avx2,popcnt")  // VELL_AVX2_TARGET
#define VELL_KERNEL vector
#define VELL_KERNEL_AVX2 1
#include "engine/search_node.inc"
#undef VELL_KERNEL_AVX2
#undef VELL_KERNEL
#pragma GCC pop_options
#define VELL_HAVE_POPCNT_KERNEL 1
#endif

}  // namespace

SearchRun::SearchRun(const EvalContext& context, const ThinkControl* control)
    : context(context), control(control) {}

int SearchRun::Search(const Board& board, int side, int alpha, int beta) {
    assert(depthLimit >= 1);
    const Bitboard own = StonesOf(board, side), opp = StonesOf(board, 1 - side);
    NodeState state{control, depthLimit, abortCountdown, chosenSquare, nodes, aborted};
    // The pattern leaves read a forward table, made afresh for each search because the
    // weights may have been trained since the last one; each thread keeps its own.
    thread_local WeightTable forwardWeights;
    const bool patterns = !context.bookMode && (context.playerType == CpuPat1Player ||
                                                context.playerType == CpuPat2Player);
    if (patterns) {
        assert(context.weights && context.weights->size() == WeightTableSize);
        MakeForwardWeights(*context.weights, forwardWeights);
    }
    const std::int16_t* forward = patterns ? forwardWeights.data() : nullptr;
    int value;
#ifdef VELL_HAVE_POPCNT_KERNEL
    if (KernelLevel() == CpuLevel::Avx2)
        value = vector::Root(state, context, forward, own, opp, side, alpha, beta);
    else if (KernelLevel() == CpuLevel::Popcount)
        value = popcnt::Root(state, context, forward, own, opp, side, alpha, beta);
    else
#endif
        value = generic::Root(state, context, forward, own, opp, side, alpha, beta);
    abortCountdown = state.abortCountdown;
    chosenSquare = state.chosenSquare;
    nodes = state.nodes;
    aborted = state.aborted;
    return value;
}

}  // namespace vell
