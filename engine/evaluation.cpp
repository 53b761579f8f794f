#include "engine/evaluation.h"

#include "core/player_names.h"
#include "engine/evaluators.h"

namespace vell {

int EvaluatePosition(const EvalContext& context, const Board& board, int gameOver, int side) {
    if (context.bookMode) return evaluators::BookValue(context.book, board);
    const Bitboard black = StonesOf(board, Black), white = StonesOf(board, White);
    switch (context.playerType) {
        case Cpu1Player:
            return gameOver ? Cpu1Evaluator{}.Final(black, white)
                            : Cpu1Evaluator{}.Horizon(black, white, side);
        case CpuPat1Player: {
            const CpuPat1Evaluator eval{context.weights};
            return gameOver ? eval.Final(black, white) : eval.Horizon(black, white, side);
        }
        case CpuPat2Player: {
            const CpuPat2Evaluator eval{context.weights};
            return gameOver ? eval.Final(black, white) : eval.Horizon(black, white, side);
        }
        default:
            return Random();
    }
}

}  // namespace vell
