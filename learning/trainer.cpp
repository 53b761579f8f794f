#include "learning/trainer.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/append_lines.h"
#include "core/file_names.h"
#include "learning/weight_file.h"

namespace vell {

std::string TrainingLogLine(int gamesBefore, const TrainingErrors& errors) {
    char line[160];
    std::snprintf(line, sizeof line, "%9d %lf -> %lf(%lf)\n", gamesBefore, errors.before,
                  errors.after, errors.after - errors.before);
    return line;
}

Trainer::Trainer(Weights& weights, Book* book, std::filesystem::path workDir, TrainingReport report,
                 StepRule rule)
    : weights(weights),
      book(book),
      workDir(std::move(workDir)),
      report(std::move(report)),
      rule(rule) {}

int Trainer::TrainingGameCount() const {
    return weights.header.trainingGames;
}

void Trainer::Train(const GameRecord& record) {
    database.Store(record);
    // The line numbers the games trained before this one. A damaged negative count counts as
    // 0, and the save's count stops at the largest int instead of wrapping.
    const int gamesBefore = std::max(weights.header.trainingGames, 0);
    // Weights this trainer has not trained itself (loaded at start-up, adopted, or continued)
    // start from a prior: each weight counts as read in every game the table was trained on,
    // since the per-weight counts of earlier runs are not kept.
    // The shipped weights, fitted on many games, so take only the smallest steps. The training
    // iterate starts again from the weights, and its mean counts them as one per game.
    if (!trainedHere || gamesBefore != gamesAfterLastPass) {
        std::fill(accumulators.evidence.begin(), accumulators.evidence.end(),
                  static_cast<float>(gamesBefore));
        accumulators.iterate.clear();
    }
    lastErrors.before = MeasureError(database, weights.table);
    accumulators.gamesTrained = gamesBefore;
    if (TrainOnStoredGames(database, weights.table, book, accumulators, rule, report).bookStopped)
        bookStopped = true;
    SaveWeights();
    trainedHere = true;
    gamesAfterLastPass = weights.header.trainingGames;
    lastErrors.after = MeasureError(database, weights.table);
    AppendLog(TrainingLogLine(gamesBefore, lastErrors));
    database.Clear();
    if (passDone) passDone();
}

void Trainer::SaveWeights() {
    const WeightSaveStatus status =
        SaveTrainedWeights(workDir / TrainedWeightsFileName, weights, database.Count());
    saveFailed = !status.ok;
    if (status.ok)
        saveFailureReported = false;
    else
        Report(saveFailureReported,
               status.message + "\n学習した重みはメモリに残り、次の保存で書き込みます。");
}

void Trainer::AppendLog(const std::string& line) {
    pendingLog += line;
    const std::filesystem::path file = workDir / TrainingLogFileName;
    const AppendResult result = AppendWholeLines(file, pendingLog);
    if (result == AppendResult::Appended) {
        pendingLog.clear();
        logFailureReported = false;
        return;
    }
    // Lines that could not be cut off the file again are given up: appending them again would
    // double them.
    if (result == AppendResult::Torn) {
        pendingLog.clear();
        logLinesLost = true;
    }
    Report(logFailureReported, "学習ログ " + file.string() + " に書き込めません。\n" +
                                   "記録はメモリに残し、書き込めるようになったら追記します。");
}

void Trainer::Report(bool& reported, const std::string& text) {
    if (reported) return;
    reported = true;
    if (report) report(text);
}

}  // namespace vell
