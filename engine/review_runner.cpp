#include "engine/review_runner.h"

#include <algorithm>

namespace vell {

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

bool ReviewRunner::CanStart(const GameFlow& flow) const {
    if (Busy() || flow.History().moveCount < 1) return false;
    if (flow.State() == FlowState::Stopped) return true;
    return flow.State() == FlowState::AwaitingMove &&
           flow.PlayerOf(flow.SideToMove()) == HumanPlayer;
}

bool ReviewRunner::Start(const GameFlow& flow) {
    if (!CanStart(flow)) return false;
    reviews.Start(startWorker, Game{flow.History(), ReviewOptionsOf(flow.CurrentSettings())},
                  [review = review](WorkerJob<Game, GameReview>& job) {
                      try {
                          return review(
                              job.input.history, job.input.options, &job.CancelFlag(),
                              [&job](int reviewed, int) { job.ReportProgress(reviewed); });
                      } catch (...) {
                          GameReview failed;
                          failed.status = ReviewStatus::Aborted;
                          return failed;
                      }
                  });
    return true;
}

void ReviewRunner::Cancel() {
    reviews.Drop();
}

bool ReviewRunner::Update(const GameFlow& flow) {
    if (!reviews.Active()) return false;
    if (!SameGame(flow)) {
        reviews.Drop();
        return false;
    }
    const GameReview* done = reviews.TakeFinished();
    if (!done) return false;
    if (done->status != ReviewStatus::Done) {
        reviews.Drop();
        return false;
    }
    return true;
}

const GameReview* ReviewRunner::Result() const {
    return reviews.Delivered();
}

const MoveReview* ReviewRunner::ShownMove(const GameFlow& flow) const {
    const GameReview* done = Result();
    if (!done) return nullptr;
    const int ply = flow.History().currentPly;
    if (ply < 0 || ply >= static_cast<int>(done->moves.size())) return nullptr;
    return &done->moves[static_cast<std::size_t>(ply)];
}

bool ReviewRunner::Running() const {
    return reviews.Running();
}

int ReviewRunner::Reviewed() const {
    return reviews.Active() ? reviews.Active()->Progress() : 0;
}

int ReviewRunner::Total() const {
    return reviews.Active() ? reviews.Active()->input.history.moveCount : 0;
}

bool ReviewRunner::Busy() const {
    return reviews.Busy();
}

bool ReviewRunner::SameGame(const GameFlow& flow) const {
    const GameHistory& now = flow.History();
    const GameHistory& then = reviews.Active()->input.history;
    if (now.moveCount != then.moveCount || now.boardAtPly[0] != then.boardAtPly[0] ||
        now.sideAtPly[0] != then.sideAtPly[0])
        return false;
    for (int m = 1; m <= now.moveCount; ++m)
        if (now.moveColumn[m] != then.moveColumn[m] || now.moveRow[m] != then.moveRow[m])
            return false;
    const ReviewOptions options = ReviewOptionsOf(flow.CurrentSettings());
    const ReviewOptions& asked = reviews.Active()->input.options;
    return options.playerTypes == asked.playerTypes && options.normalDepth == asked.normalDepth &&
           options.finalDepth == asked.finalDepth;
}

}  // namespace vell
