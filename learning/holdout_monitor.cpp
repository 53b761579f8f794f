#include "learning/holdout_monitor.h"

#include <fstream>
#include <iterator>

#include "learning/game_log.h"
#include "learning/holdout_log.h"

namespace vell {

HoldoutMonitor::HoldoutMonitor(GameLearner& trainer, const Weights& trained,
                               std::vector<GameRecord> games, std::filesystem::path folder,
                               int interval)
    : learner(trainer),
      weights(trained),
      holdout(std::move(games)),
      workDir(std::move(folder)),
      every(interval < 1 ? 1 : interval) {}

HoldoutMonitor::~HoldoutMonitor() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
        waiting.clear();
    }
    changed.notify_all();
    if (worker.joinable()) worker.join();
}

int HoldoutMonitor::TrainingGameCount() const {
    return learner.TrainingGameCount();
}

void HoldoutMonitor::Train(const GameRecord& record) {
    if (!trainedHere) Queue();
    trainedHere = true;
    learner.Train(record);
    if (learner.TrainingGameCount() % every == 0) Queue();
}

void HoldoutMonitor::WeightsChanged() {
    Queue();
}

void HoldoutMonitor::Wait() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return waiting.empty() && !running; });
}

void HoldoutMonitor::Queue() {
    if (holdout.empty()) return;
    Job job{weights.table, learner.TrainingGameCount()};
    {
        std::lock_guard lock(mutex);
        if (stopping) return;
        if (waiting.size() == 4) waiting.pop_front();
        waiting.push_back(std::move(job));
        if (!worker.joinable()) worker = std::thread(&HoldoutMonitor::Work, this);
    }
    changed.notify_all();
}

void HoldoutMonitor::Work() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex);
            running = false;
            changed.notify_all();
            changed.wait(lock, [this] { return stopping || !waiting.empty(); });
            if (stopping) return;
            job = std::move(waiting.front());
            waiting.pop_front();
            running = true;
        }
        const std::uint64_t key = HoldoutKey(job.table, holdout);
        std::string text;
        if (std::ifstream in(workDir / HoldoutLogName, std::ios::binary); in)
            text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        // Weights the last point measured keep its figure: a new point only for a new count.
        // A log that cannot be written loses only this figure; the next one tries again.
        const std::vector<HoldoutPoint> points = ParseHoldoutLog(text);
        if (const std::optional<double> known = CurrentHoldoutError(points, key)) {
            if (points.back().games != job.games)
                AppendHoldoutPoint(workDir, {job.games, *known, key});
            continue;
        }
        AppendHoldoutPoint(workDir, {job.games, HeldOutError(holdout, job.table), key});
    }
}

}  // namespace vell
