#include "engine/search.h"

#include <bit>
#include <cassert>

#include "core/player_names.h"
#include "engine/evaluators.h"

namespace vell {

namespace {

// Nodes between two looks at the stop request: a few hundred microseconds of search.
constexpr int AbortPollInterval = 4096;

}  // namespace

SearchRun::SearchRun(const EvalContext& context, const ThinkControl* control)
    : context(context), control(control) {}

bool SearchRun::PollAbort() {
    if (--abortCountdown > 0) return false;
    abortCountdown = AbortPollInterval;
    if (control && control->AbortRequested()) aborted = true;
    return aborted;
}

// One node, with `own` the stones of `side` and `opp` the other side's. Values are in black's
// frame; (alpha, beta) is in the node's own frame. After a stop request every node returns at
// once and the callers, seeing `aborted`, unwind without looking at the result.
template <class Eval>
int SearchRun::Node(const Eval& eval, Bitboard own, Bitboard opp, int side, int alpha, int beta,
                    int ply) {
    ++nodes;
    if (PollAbort()) return 0;
    if (ply == depthLimit)
        return side == Black ? eval.Horizon(own, opp, side) : eval.Horizon(opp, own, side);

    Bitboard legal = LegalMoves(own, opp);
    if (!legal) {
        if (ply == 0) chosenSquare = -1;
        return NoMove;
    }
    int best = -1, a = alpha;
    // Children at the depth limit are evaluated here rather than in a call of their own; each
    // still counts as a node, and none can report a code.
    const bool leafChildren = ply + 1 == depthLimit;
    for (; legal; legal &= legal - 1) {
        const int s = std::countr_zero(legal);
        const Bitboard flips = Flips(own, opp, s);
        const Bitboard mover = own | flips | SquareBB(s);
        const Bitboard other = opp & ~flips;
        assert((mover & other) == 0);
        int f;
        if (leafChildren) {
            ++nodes;
            f = side == Black ? eval.Horizon(mover, other, White)
                              : eval.Horizon(other, mover, Black);
        } else {
            f = Node(eval, other, mover, 1 - side, -beta, -a, ply + 1);
            if (aborted) return 0;
            if (f == NoMove) {
                // The opponent passes: the same side moves again at the same ply with this
                // node's window; when it cannot move either, the game is over.
                f = Node(eval, mover, other, side, a, beta, ply + 1);
                if (aborted) return 0;
                if (f == NoMove)
                    f = side == Black ? eval.Final(mover, other) : eval.Final(other, mover);
                else if (f == CutOff)
                    return CutOff;
                else if (f == NoImprovement)
                    continue;
            } else if (f == CutOff) {
                continue;
            } else if (f == NoImprovement) {
                return CutOff;
            }
        }
        if (side == White) f = -f;
        if (f > a) {
            best = s;
            a = f;
            if (f >= beta) return CutOff;
        }
    }
    if (ply == 0) chosenSquare = best;
    if (a == alpha) return NoImprovement;
    return side == Black ? a : -a;
}

int SearchRun::Search(const Board& board, int side, int alpha, int beta) {
    assert(depthLimit >= 1);
    const Bitboard own = StonesOf(board, side), opp = StonesOf(board, 1 - side);
    if (context.bookMode) return Node(BookEvaluator{context.book}, own, opp, side, alpha, beta, 0);
    switch (context.playerType) {
        case Cpu1Player:
            return Node(Cpu1Evaluator{}, own, opp, side, alpha, beta, 0);
        case CpuPat1Player:
            assert(context.weights);
            return Node(CpuPat1Evaluator{context.weights}, own, opp, side, alpha, beta, 0);
        case CpuPat2Player:
            assert(context.weights);
            return Node(CpuPat2Evaluator{context.weights}, own, opp, side, alpha, beta, 0);
        default:
            return Node(RandomEvaluator{}, own, opp, side, alpha, beta, 0);
    }
}

}  // namespace vell
