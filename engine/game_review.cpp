#include "engine/game_review.h"

#include <algorithm>
#include <memory>

#include "core/settings.h"
#include "engine/search.h"
#include "engine/think_driver.h"

namespace vell {

namespace {

// The review's stop request as a think's control; a review writes no panes.
class AbortFlagControl : public ThinkControl {
  public:
    explicit AbortFlagControl(const std::atomic<bool>* flag) : flag(flag) {}
    bool AbortRequested() const override { return flag && flag->load(std::memory_order_relaxed); }
    void ShowPaneText(int, const std::string&) override {}

  private:
    const std::atomic<bool>* flag;
};

// A search's stop request seen through a writable control; depth reports go nowhere.
class ForwardingControl : public ThinkControl {
  public:
    explicit ForwardingControl(const ThinkControl& inner) : inner(inner) {}
    bool AbortRequested() const override { return inner.AbortRequested(); }
    void ShowPaneText(int, const std::string&) override {}

  private:
    const ThinkControl& inner;
};

// The value of the move `square` of `side` on `board` as the root of a search to `depthLimit`
// sees it, in black's frame: its child at the horizon when the limit is 1, else the child
// searched one ply shorter, with the opponent's pass searched at the same ply and a position
// where neither side can move scored as the end of the game.
int RootMoveValue(const RootSearch& search, const EvalContext& context, const Board& board,
                  int side, int square, int depthLimit, const ThinkControl& control,
                  std::uint64_t& nodes, bool& aborted) {
    Board child;
    TryMove(board, child, square, side);
    if (depthLimit == 1) {
        ++nodes;
        return EvaluatePosition(context, child, 0, 1 - side);
    }
    RootSearchResult r = search(context, child, 1 - side, depthLimit - 1, control);
    nodes += r.nodes;
    if (!r.aborted && r.value == NoMove) {
        r = search(context, child, side, depthLimit - 1, control);
        nodes += r.nodes;
        if (!r.aborted && r.value == NoMove) return EvaluatePosition(context, child, 1, 0);
    }
    aborted = r.aborted;
    return r.value;
}

}  // namespace

ReviewMark MarkOfLoss(int loss) {
    if (loss >= BlunderLoss) return ReviewMark::Blunder;
    if (loss >= MistakeLoss) return ReviewMark::Mistake;
    if (loss >= DubiousLoss) return ReviewMark::Dubious;
    return ReviewMark::None;
}

std::string_view MarkText(ReviewMark mark) {
    switch (mark) {
        case ReviewMark::Dubious:
            return "?!";
        case ReviewMark::Mistake:
            return "?";
        case ReviewMark::Blunder:
            return "??";
        default:
            return "";
    }
}

RootSearch PlainRootSearch() {
    return [](const EvalContext& context, const Board& board, int side, int depthLimit,
              const ThinkControl& control) {
        SearchRun run(context, &control);
        run.depthLimit = depthLimit;
        RootSearchResult result;
        result.value = run.Search(board, side, SearchWindowLow, SearchWindowHigh);
        result.nodes = run.nodes;
        result.aborted = run.aborted;
        return result;
    };
}

RootSearch FastRootSearch(std::size_t tableBytes, TableMemoryAdvice advice) {
    auto pool = std::make_shared<TablePool>(tableBytes, advice);
    return [pool](const EvalContext& context, const Board& board, int side, int depthLimit,
                  const ThinkControl& control) {
        TablePool::Lease lease(*pool);
        ForwardingControl forward(control);
        FastSearchRun run(context, lease.Table(), &forward);
        run.depthLimit = depthLimit;
        RootSearchResult result;
        result.value = run.Search(board, side);
        result.nodes = run.nodes;
        result.aborted = run.aborted;
        return result;
    };
}

int ReviewPlayerType(int playerType) {
    switch (playerType) {
        case Cpu1Player:
        case CpuPat1Player:
        case CpuPat2Player:
            return playerType;
        default:
            return CpuPat2Player;
    }
}

int SideReview::AverageLoss() const {
    if (moves == 0) return 0;
    return static_cast<int>((totalLoss + moves / 2) / moves);
}

GameReview ReviewGame(const GameHistory& history, const ReviewOptions& options,
                      const WeightTable& weights, const RootSearch& search,
                      const std::atomic<bool>* abort, const ReviewProgress& progress) {
    GameReview review;
    const AbortFlagControl control(abort);
    Settings settings = DefaultSettings;
    settings[NormalDepthSetting] = options.normalDepth;
    settings[FinalDepthSetting] = options.finalDepth;
    const int total = std::clamp(history.moveCount, 0, 60);
    review.moves.reserve(static_cast<std::size_t>(total));

    for (int m = 1; m <= total; ++m) {
        const Board& board = history.boardAtPly[m - 1];
        const int side = history.sideAtPly[m - 1];
        const int column = history.moveColumn[m], row = history.moveRow[m];
        const int played = column * 8 + row;
        Board scratch;
        if ((side != Black && side != White) || column < 0 || column > 7 || row < 0 || row > 7 ||
            board[played] != Empty || TryMove(board, scratch, played, side) <= 1) {
            review.status = ReviewStatus::IllegalMove;
            review.badMove = m;
            return review;
        }
        if (control.AbortRequested()) {
            review.status = ReviewStatus::Aborted;
            return review;
        }

        const EvalContext context{ReviewPlayerType(options.playerTypes[side]), false, nullptr,
                                  &weights};
        const int empties = CountStones(board)[Empty];
        MoveReview move;
        move.moveNumber = m;
        move.side = side;
        move.played = played;
        move.depthLimit = ThinkDepthLimit(empties, settings);
        move.readToEnd = move.depthLimit >= empties;
        move.values.fill(NoMove);
        for (int s = 0; s < 64; ++s) {
            if (board[s] != Empty || TryMove(board, scratch, s, side) <= 1) continue;
            bool aborted = false;
            const int value = RootMoveValue(search, context, board, side, s, move.depthLimit,
                                            control, review.nodes, aborted);
            if (aborted) {
                review.status = ReviewStatus::Aborted;
                return review;
            }
            move.values[s] = side == White ? -value : value;
            // Ties go to the lowest square, as at the root of the search.
            if (move.best < 0 || move.values[s] > move.bestValue) {
                move.best = s;
                move.bestValue = move.values[s];
            }
        }
        move.playedValue = move.values[played];
        move.loss = std::max(0, move.bestValue - move.playedValue);
        move.mark = MarkOfLoss(move.loss);

        SideReview& sideReview = review.sides[side];
        ++sideReview.moves;
        sideReview.totalLoss += move.loss;
        if (move.mark != ReviewMark::None) ++sideReview.marks;
        review.moves.push_back(move);
        if (progress) progress(m, total);
    }
    return review;
}

}  // namespace vell
