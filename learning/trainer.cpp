#include "learning/trainer.h"

#include <cstdio>
#include <fstream>
#include <utility>

#include "learning/weight_file.h"

namespace vell {

namespace {

constexpr const char* WeightSaveName = "weight2.dat";
constexpr const char* TrainingLogName = "Trainlog.txt";

}  // namespace

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
    lastErrors.before = MeasureError(database, weights.table);
    TrainOnStoredGames(database, weights.table, book, accumulators, rule, report);
    SaveWeights();
    lastErrors.after = MeasureError(database, weights.table);
    // The save has counted this game already; the line numbers the games trained before it.
    AppendLog(TrainingLogLine(weights.header.trainingGames - 1, lastErrors));
    database.Clear();
}

void Trainer::SaveWeights() {
    const WeightSaveStatus status =
        SaveTrainedWeights(workDir / WeightSaveName, weights, database.Count());
    saveFailed = !status.ok;
    if (status.ok)
        saveFailureReported = false;
    else
        Report(saveFailureReported,
               status.message + "\n学習した重みはメモリに残り、次の保存で書き込みます。");
}

void Trainer::AppendLog(const std::string& line) {
    pendingLog += line;
    const std::filesystem::path file = workDir / TrainingLogName;
    std::ofstream log(file, std::ios::binary | std::ios::app);
    if (log) {
        log.write(pendingLog.data(), static_cast<std::streamsize>(pendingLog.size()));
        log.close();
    }
    if (log) {
        pendingLog.clear();
        logFailureReported = false;
        return;
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
