#pragma once

// Measures the held-out error of the weights in use in the background while training runs, so
// the learning chart can show the trend without ever holding up a game.

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "core/game_flow.h"
#include "core/game_record.h"
#include "learning/weights.h"

namespace vell {

// Passes every training game on to `learner` and has the weights measured on the held-out
// games, the figure appended to Holdoutlog.txt in `workDir`: the weights as they were before
// the first game trained here, then after every `every` trained games. The weights are copied on
// the calling thread around the training pass (the only time they change) and handed to one
// worker thread by value; the worker owns the log. Weights whose figure is the log's last are
// not measured again: their figure is logged again only under a new games count (a table
// trained on many games may not change a single weight in a pass). At most four measurements wait;
// beyond that the oldest waiting is dropped, so a slow machine measures less often but the game
// never waits.
class HoldoutMonitor : public GameLearner {
  public:
    // `learner` and `weights` (the table it trains) must outlive the monitor. Without held-out
    // games nothing is measured.
    HoldoutMonitor(GameLearner& learner, const Weights& weights, std::vector<GameRecord> holdout,
                   std::filesystem::path workDir, int every = 10);
    ~HoldoutMonitor() override;  // ends the measurement under way, drops those waiting
    HoldoutMonitor(const HoldoutMonitor&) = delete;
    HoldoutMonitor& operator=(const HoldoutMonitor&) = delete;

    int TrainingGameCount() const override;
    void Train(const GameRecord& record) override;

    // The weights in use have changed outside training (loaded, adopted): they are measured
    // unless the log's last point is theirs already.
    void WeightsChanged();
    // Blocks until nothing waits or runs (for tests and programs that end after training).
    void Wait();

  private:
    struct Job {
        WeightTable table;
        int games = 0;
    };
    void Queue();
    void Work();

    GameLearner& learner;
    const Weights& weights;
    const std::vector<GameRecord> holdout;
    const std::filesystem::path workDir;
    const int every;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> waiting;
    bool running = false;
    bool trainedHere = false;  // touched on the calling thread only
    bool stopping = false;
    std::thread worker;
};

}  // namespace vell
