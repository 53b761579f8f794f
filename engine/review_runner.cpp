#include "engine/review_runner.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace vell {

// One review, shared by the front end's thread and its worker. The worker writes `result` and
// then raises `finished` (release); the front end reads `result` only after it has seen
// `finished` (acquire).
struct ReviewRunner::Job {
    GameHistory history;
    ReviewOptions options;
    std::atomic<bool> abortRequested{false};
    std::atomic<bool> finished{false};
    std::atomic<int> reviewed{0};
    int total = 0;
    GameReview result;
    bool delivered = false;
};

ReviewOptions ReviewOptionsOf(const Settings& settings) {
    ReviewOptions options;
    options.playerTypes = {ReviewPlayerType(settings[BlackPlayerSetting]),
                           ReviewPlayerType(settings[WhitePlayerSetting])};
    options.normalDepth = std::clamp(settings[NormalDepthSetting], MinNormalDepth, MaxNormalDepth);
    options.finalDepth = std::clamp(settings[FinalDepthSetting], MinFinalDepth, MaxFinalDepth);
    return options;
}

ReviewRunner::ReviewRunner(ReviewFunction review, WorkerStarter startWorker)
    : review(std::move(review)), startWorker(std::move(startWorker)) {}

ReviewRunner::~ReviewRunner() {
    if (!last) return;
    last->abortRequested.store(true);
    while (!last->finished.load(std::memory_order_acquire))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool ReviewRunner::CanStart(const GameFlow& flow) const {
    if (Busy() || flow.ThinkRunning() || flow.History().moveCount < 1) return false;
    if (flow.State() == FlowState::Stopped) return true;
    return flow.State() == FlowState::AwaitingMove &&
           flow.PlayerOf(flow.SideToMove()) == HumanPlayer;
}

bool ReviewRunner::Start(const GameFlow& flow) {
    if (!CanStart(flow)) return false;
    auto job = std::make_shared<Job>();
    job->history = flow.History();
    job->options = ReviewOptionsOf(flow.CurrentSettings());
    job->total = job->history.moveCount;
    active = job;
    last = job;
    startWorker([job, review = review] {
        try {
            job->result = review(job->history, job->options, &job->abortRequested,
                                 [&job](int reviewed, int) { job->reviewed.store(reviewed); });
        } catch (...) {
            job->result = GameReview{};
            job->result.status = ReviewStatus::Aborted;
        }
        job->finished.store(true, std::memory_order_release);
    });
    return true;
}

void ReviewRunner::Cancel() {
    if (active) Drop();
}

bool ReviewRunner::Update(const GameFlow& flow) {
    if (!active) return false;
    if (!SameGame(flow)) {
        Drop();
        return false;
    }
    if (active->delivered || !active->finished.load(std::memory_order_acquire)) return false;
    active->delivered = true;
    if (active->result.status != ReviewStatus::Done) {
        active.reset();
        return false;
    }
    return true;
}

const GameReview* ReviewRunner::Result() const {
    if (!active || !active->delivered) return nullptr;
    return &active->result;
}

const MoveReview* ReviewRunner::ShownMove(const GameFlow& flow) const {
    const GameReview* done = Result();
    if (!done) return nullptr;
    const int ply = flow.History().currentPly;
    if (ply < 0 || ply >= static_cast<int>(done->moves.size())) return nullptr;
    return &done->moves[static_cast<std::size_t>(ply)];
}

bool ReviewRunner::Running() const {
    return active && !active->finished.load(std::memory_order_acquire);
}

int ReviewRunner::Reviewed() const {
    return active ? active->reviewed.load() : 0;
}

int ReviewRunner::Total() const {
    return active ? active->total : 0;
}

bool ReviewRunner::Busy() const {
    return last && !last->finished.load(std::memory_order_acquire);
}

bool ReviewRunner::SameGame(const GameFlow& flow) const {
    const GameHistory& now = flow.History();
    const GameHistory& then = active->history;
    if (now.moveCount != then.moveCount || now.boardAtPly[0] != then.boardAtPly[0] ||
        now.sideAtPly[0] != then.sideAtPly[0])
        return false;
    for (int m = 1; m <= now.moveCount; ++m)
        if (now.moveColumn[m] != then.moveColumn[m] || now.moveRow[m] != then.moveRow[m])
            return false;
    const ReviewOptions options = ReviewOptionsOf(flow.CurrentSettings());
    return options.playerTypes == active->options.playerTypes &&
           options.normalDepth == active->options.normalDepth &&
           options.finalDepth == active->options.finalDepth;
}

void ReviewRunner::Drop() {
    active->abortRequested.store(true);
    active.reset();
}

}  // namespace vell
