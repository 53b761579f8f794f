#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/game_flow.h"
#include "learning/game_database.h"
#include "learning/training_pass.h"
#include "learning/weights.h"

namespace vell {

class Book;

// The prediction error around one training pass, in squared discs.
struct TrainingErrors {
    double before = 0.0;
    double after = 0.0;
};

// The training step of a finished game, as the game flow runs it while training is on: the game
// is stored, the error measured, the weights trained (and the first fifteen positions added to
// the book), the weights saved to weight2.dat, the error measured again and one line appended to
// Trainlog.txt; then the game database is emptied.
//
// A file that cannot be written loses nothing: the weights stay trained in memory and are
// written whole by the next save. A log append writes whole lines or nothing: one that fails is
// cut back to the log's previous length, and its lines are kept and appended before the next
// line (lines that could not be cut back off the file are dropped instead, so none is ever
// doubled). Each such failure is reported once (again only after the file has been written in
// between), so unattended training is not interrupted game after game.
class Trainer : public GameLearner {
  public:
    // `weights` and `book` (may be null: no book additions) must outlive the trainer. The files
    // weight2.dat and Trainlog.txt are written in `workDir`; `report` shows a text to the user.
    Trainer(Weights& weights, Book* book, std::filesystem::path workDir, TrainingReport report,
            StepRule rule = StepRule::Accumulating);

    int TrainingGameCount() const override;
    void Train(const GameRecord& record) override;

    // The errors of the last pass (both 0 before the first).
    const TrainingErrors& LastErrors() const { return lastErrors; }
    // Trainlog.txt lines not yet written because the log could not be appended to.
    const std::string& PendingLogLines() const { return pendingLog; }
    // Whether weight2.dat and Trainlog.txt hold everything trained so far.
    bool FilesCurrent() const { return !saveFailed && pendingLog.empty() && !logLinesLost; }
    // Whether the book stopped taking additions during some pass (it could not be written).
    bool BookStopped() const { return bookStopped; }
    // The rate of the accumulating step (for measuring other rates).
    void SetRate(const AccumulatingRate& rate) { accumulators.rate = rate; }
    // Called after each pass, once the weights and the book hold what it trained.
    void SetPassDone(std::function<void()> done) { passDone = std::move(done); }
    // The weights were replaced from outside (adopted): the next pass starts afresh from them
    // rather than from this trainer's running mean.
    void WeightsReplaced() { trainedHere = false; }

  private:
    void SaveWeights();
    void AppendLog(const std::string& line);
    void Report(bool& reported, const std::string& text);

    Weights& weights;
    Book* book;
    std::filesystem::path workDir;
    TrainingReport report;
    std::function<void()> passDone;
    StepRule rule;
    GameDatabase database;
    TrainingAccumulators accumulators;
    TrainingErrors lastErrors;
    std::string pendingLog;
    bool saveFailed = false;
    bool logLinesLost = false;
    bool trainedHere = false;
    int gamesAfterLastPass = 0;
    bool bookStopped = false;
    bool saveFailureReported = false;
    bool logFailureReported = false;
};

// One Trainlog.txt line: "%9d %lf -> %lf(%lf)\n" with the games trained before this one, the
// error before, after, and after minus before.
std::string TrainingLogLine(int gamesBefore, const TrainingErrors& errors);

}  // namespace vell
