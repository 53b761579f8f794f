#include "core/hint_runner.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "core/game_flow.h"

namespace vell {

// One hint, shared by the window thread and its worker. The worker writes `outcome` and then
// raises `finished` (release); the window thread reads `outcome` only after it has seen
// `finished` (acquire). The snapshot is what the hint was asked for.
struct HintRunner::Job {
    ThinkRequest request;
    int ply = 0;
    int moveCount = 0;
    std::atomic<bool> abortRequested{false};
    std::atomic<bool> finished{false};
    ThinkOutcome outcome;
    bool delivered = false;
};

namespace {

// The hint's think writes nothing into the panes while it works: only its verdict is shown,
// and only while its turn lasts.
class HintControl : public ThinkControl {
  public:
    explicit HintControl(const std::atomic<bool>& abort) : abort(abort) {}
    bool AbortRequested() const override { return abort.load(std::memory_order_relaxed); }
    void ShowPaneText(int, const std::string&) override {}

  private:
    const std::atomic<bool>& abort;
};

bool WaitsForPerson(const GameFlow& flow) {
    return flow.State() == FlowState::AwaitingMove &&
           flow.PlayerOf(flow.SideToMove()) == HumanPlayer;
}

}  // namespace

HintRunner::HintRunner(ThinkFunction think, WorkerStarter startWorker)
    : think(std::move(think)), startWorker(std::move(startWorker)) {}

HintRunner::~HintRunner() {
    if (!last) return;
    last->abortRequested.store(true);
    while (!last->finished.load(std::memory_order_acquire))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool HintRunner::CanStart(const GameFlow& flow) const {
    if (Busy() || !WaitsForPerson(flow)) return false;
    return CountLegalMoves(flow.CurrentBoard(), flow.SideToMove()) > 0;
}

bool HintRunner::Start(const GameFlow& flow) {
    if (!CanStart(flow)) return false;
    auto job = std::make_shared<Job>();
    job->request.board = flow.CurrentBoard();
    job->request.sideToMove = flow.SideToMove();
    job->request.settings = flow.CurrentSettings();
    // The advice of a computer player at the current depths: its best move, never a random
    // second-best book move.
    job->request.settings[flow.SideToMove()] = HintPlayerType;
    job->request.settings[TrainingModeSetting] = 0;
    job->ply = flow.History().currentPly;
    job->moveCount = flow.History().moveCount;
    active = job;
    last = job;
    suggested = -1;
    startWorker([job, think = think] {
        HintControl control(job->abortRequested);
        job->outcome = RunThink(think, job->request, control);
        job->finished.store(true, std::memory_order_release);
    });
    return true;
}

std::optional<HintResult> HintRunner::Update(const GameFlow& flow) {
    if (!active) return std::nullopt;
    if (!SameTurn(flow)) {
        Drop();
        return std::nullopt;
    }
    if (active->delivered || !active->finished.load(std::memory_order_acquire)) return std::nullopt;
    active->delivered = true;
    const ThinkOutcome& outcome = active->outcome;
    HintResult result;
    result.side = active->request.sideToMove;
    result.verdict = outcome.message;
    // Only a legal move of the side asked for is suggested.
    Board scratch;
    const int square = outcome.square;
    if (outcome.result == ThinkMoveReady && square >= 0 && square < 64 &&
        flow.CurrentBoard()[square] == Empty &&
        TryMove(flow.CurrentBoard(), scratch, square, result.side) > 1)
        result.square = suggested = square;
    return result;
}

bool HintRunner::Thinking() const {
    return active && !active->finished.load(std::memory_order_acquire);
}

bool HintRunner::Busy() const {
    return last && !last->finished.load(std::memory_order_acquire);
}

bool HintRunner::SameTurn(const GameFlow& flow) const {
    return WaitsForPerson(flow) && flow.SideToMove() == active->request.sideToMove &&
           flow.CurrentBoard() == active->request.board &&
           flow.History().currentPly == active->ply &&
           flow.History().moveCount == active->moveCount;
}

void HintRunner::Drop() {
    active->abortRequested.store(true);
    active.reset();
    suggested = -1;
}

}  // namespace vell
