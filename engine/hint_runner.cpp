#include "engine/hint_runner.h"

namespace vell {

namespace {

// The hint's think writes nothing into the panes while it works: only its verdict is shown,
// and only while its turn lasts.
class HintControl : public ThinkControl {
  public:
    explicit HintControl(const std::atomic<bool>& cancelled) : cancelled(cancelled) {}
    bool AbortRequested() const override { return cancelled.load(std::memory_order_relaxed); }
    void ShowPaneText(int, const std::string&) override {}

  private:
    const std::atomic<bool>& cancelled;
};

bool WaitsForPerson(const GameFlow& flow) {
    return flow.State() == FlowState::AwaitingMove &&
           flow.PlayerOf(flow.SideToMove()) == HumanPlayer;
}

}  // namespace

HintRunner::HintRunner(ThinkFunction think, WorkerStarter startWorker)
    : think(std::move(think)), startWorker(std::move(startWorker)) {}

bool HintRunner::CanStart(const GameFlow& flow) const {
    if (Busy() || !WaitsForPerson(flow)) return false;
    return CountLegalMoves(flow.CurrentBoard(), flow.SideToMove()) > 0;
}

bool HintRunner::Start(const GameFlow& flow) {
    if (!CanStart(flow)) return false;
    Turn turn;
    turn.request.board = flow.CurrentBoard();
    turn.request.sideToMove = flow.SideToMove();
    turn.request.settings = flow.CurrentSettings();
    // The advice of a computer player at the current depths: its best move, never a random
    // second-best book move.
    turn.request.settings[flow.SideToMove()] = HintPlayerType;
    turn.request.settings[TrainingModeSetting] = 0;
    turn.ply = flow.History().currentPly;
    turn.moveCount = flow.History().moveCount;
    suggested = -1;
    hints.Start(startWorker, std::move(turn), [think = think](WorkerJob<Turn, ThinkOutcome>& job) {
        HintControl control(job.CancelFlag());
        return RunThink(think, job.input.request, control);
    });
    return true;
}

std::optional<HintResult> HintRunner::Update(const GameFlow& flow) {
    if (!hints.Active()) return std::nullopt;
    if (!SameTurn(flow)) {
        Drop();
        return std::nullopt;
    }
    const ThinkOutcome* outcome = hints.TakeFinished();
    if (!outcome) return std::nullopt;
    HintResult result;
    result.side = hints.Active()->input.request.sideToMove;
    result.verdict = outcome->message;
    // Only a legal move of the side asked for is suggested.
    Board scratch;
    const int square = outcome->square;
    if (outcome->result == ThinkMoveReady && square >= 0 && square < 64 &&
        flow.CurrentBoard()[square] == Empty &&
        TryMove(flow.CurrentBoard(), scratch, square, result.side) > 1)
        result.square = suggested = square;
    return result;
}

bool HintRunner::Thinking() const {
    return hints.Running();
}

bool HintRunner::Busy() const {
    return hints.Busy();
}

bool HintRunner::SameTurn(const GameFlow& flow) const {
    const Turn& turn = hints.Active()->input;
    return WaitsForPerson(flow) && flow.SideToMove() == turn.request.sideToMove &&
           flow.CurrentBoard() == turn.request.board && flow.History().currentPly == turn.ply &&
           flow.History().moveCount == turn.moveCount;
}

void HintRunner::Drop() {
    hints.Drop();
    suggested = -1;
}

}  // namespace vell
