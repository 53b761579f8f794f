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

// The node, once per processor level.
#define VELL_KERNEL_NODE "engine/search_node.inc"
#include "engine/kernel_copies.inc"
#undef VELL_KERNEL_NODE

}  // namespace

SearchRun::SearchRun(const EvalContext& context, const ThinkControl* control)
    : context(context), control(control) {}

int SearchRun::Search(const Board& board, int side, int alpha, int beta) {
    assert(depthLimit >= 1);
    const Bitboard own = StonesOf(board, side), opp = StonesOf(board, 1 - side);
    NodeState state{control, depthLimit, abortCountdown, chosenSquare, nodes, aborted};
    const bool patterns = !context.bookMode && (context.playerType == CpuPat1Player ||
                                                context.playerType == CpuPat2Player);
    const std::int16_t* forward =
        patterns ? ForwardTableFor(context.forwardWeights, context.weights) : nullptr;
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
