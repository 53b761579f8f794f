#pragma once

#include <filesystem>
#include <future>

#include <QDateTime>
#include <QDialog>

#include "learning/holdout_log.h"
#include "learning/training_log.h"

class QLabel;
class QTimer;

namespace vell {

// What the chart shows, read from Trainlog.txt, Holdoutlog.txt and learncurve.txt of the
// working folder.
struct LearningChartData {
    enum class Log { Missing, Unreadable, Read };
    Log log = Log::Missing;
    LogRead<TrainingLogEntry> training;
    std::vector<HoldoutPoint> holdout;
    bool curveFound = false;
    LogRead<LearnCurvePoint> curve;

    // The trained-games count of the weights in use: the last held-out measurement's, else
    // the last training pass's; -1 when neither log says.
    int WeightsGames() const;
    // The errors after the passes differ from those before by this share of them (0.01 is
    // 1%); 0 without passes.
    double PassChange() const;
    // The passes hardly move the weights (the weights in use are the mean over every game they
    // were trained on): the two error lines would coincide, so the chart draws one.
    bool PassesCoincide() const { return !training.entries.empty() && PassChange() < 0.02; }
};

// Where the held-out points go on the chart's games axis (the log's games in order, 1 for the
// first pass): a point measured after a pass goes to the last pass that left the weights at its
// count, one measured before the first pass to 0; points no pass of the log explains are left
// out (-1).
std::vector<int> HoldoutPlaces(const LearningChartData& data);

// Reads both logs of `workDir`; it may take a while on a long log, so the chart calls it off
// the window thread.
LearningChartData ReadLearningChartData(const std::filesystem::path& workDir);

// The line under the chart: what was read, or in plain words why there is nothing to draw.
QString LearningChartMessage(const LearningChartData& data);

// The moving-average window for a log of `entries` games: a twentieth of them, 1 to 200.
int MovingAverageWindow(int entries);

// The learning chart: the error before and after each training pass with their moving
// averages, the error of the weights in use on the held-out games with their trained-games
// count, and the held-out curve when learncurve.txt exists. It reads the logs on a worker
// and looks for changes every second, so it follows training as it runs.
class LearningChartDialog : public QDialog {
    Q_OBJECT

  public:
    explicit LearningChartDialog(std::filesystem::path workDir, QWidget* parent = nullptr);
    ~LearningChartDialog() override;

    const LearningChartData& Data() const { return data; }
    QString Message() const;
    // Reads the logs again at once (unless a read is under way).
    void Reload();

  Q_SIGNALS:
    // New data has been shown.
    void Refreshed();

  private:
    void CheckFiles();
    void CheckRead();

    std::filesystem::path workDir;
    LearningChartData data;
    QWidget* chart;
    QLabel* message;
    QTimer* poll;
    QTimer* readPoll;  // looks for the worker's result while a read is under way
    // The read under way. A standard future rather than Qt's thread pool: the hand-over of the
    // result then goes through locks the thread sanitizer can see.
    std::future<LearningChartData> reading;
    QString lastStamp;  // sizes and times of the two files at the last read
};

}  // namespace vell
