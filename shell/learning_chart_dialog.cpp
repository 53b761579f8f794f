#include "shell/learning_chart_dialog.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>

#include "core/file_names.h"
#include "shell/language.h"
#include "shell/text.h"

namespace vell {

namespace {

// The texts of the chart.
const char* const ChartTitle = QT_TRANSLATE_NOOP("Vell", "学習グラフ");
const char* const MissingText = QT_TRANSLATE_NOOP(
    "Vell",
    "Trainlog.txt "
    "がありません。トレーニングを有効にして対局すると、学習の経過がここに表示されます。");
const char* const UnreadableText = QT_TRANSLATE_NOOP("Vell", "Trainlog.txt を開けません。");
const char* const EmptyText = QT_TRANSLATE_NOOP("Vell", "Trainlog.txt にはまだ記録がありません。");
const char* const AllDamagedText =
    QT_TRANSLATE_NOOP("Vell", "Trainlog.txt を読めません。%1 行目から形式が違います。");
const char* const ReadText = QT_TRANSLATE_NOOP("Vell", "%1 局分の学習を表示しています。");
const char* const SkippedText =
    QT_TRANSLATE_NOOP("Vell", "壊れた %1 行(最初は %2 行目)を読み飛ばしました。");
const char* const CurveSkippedText =
    QT_TRANSLATE_NOOP("Vell", "learncurve.txt の %1 行を読み飛ばしました。");
const char* const GamesAxisText = QT_TRANSLATE_NOOP("Vell", "対局数");
const char* const ErrorAxisText = QT_TRANSLATE_NOOP("Vell", "誤差");
const char* const BeforeText = QT_TRANSLATE_NOOP("Vell", "学習前");
const char* const AfterText = QT_TRANSLATE_NOOP("Vell", "学習後");
const char* const AverageText = QT_TRANSLATE_NOOP("Vell", "(移動平均 %1 局)");
const char* const HoldoutText = QT_TRANSLATE_NOOP("Vell", "検証用の誤差");
const char* const InUseText = QT_TRANSLATE_NOOP("Vell", "いまの重みの検証用の誤差");
const char* const ShippedText = QT_TRANSLATE_NOOP("Vell", "同梱の重み");
const char* const CountText = QT_TRANSLATE_NOOP("Vell", "重みの学習局数(右目盛)");
const char* const MeasuredText =
    QT_TRANSLATE_NOOP("Vell", "検証用の対局での誤差: いまの重み %1(%2 局学習)、同梱の重み %3。");
const char* const ShippedOnlyText =
    QT_TRANSLATE_NOOP("Vell",
                      "検証用の対局での同梱の重みの誤差は %1 "
                      "です。トレーニングすると、いまの重みの誤差を並べて示します。");
const char* const SettledText = QT_TRANSLATE_NOOP(
    "Vell",
    "学習前と学習後の誤差の差は %1% しかありません。いまの重みは %2 "
    "局分の学習の平均で、1 局の学習ではほとんど動かないため、学習後の線だけを描いています。");

const char* const LearnCurveName = "learncurve.txt";

enum class FileRead { Missing, Unreadable, Read };

FileRead ReadWhole(const std::filesystem::path& file, std::string& text) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return FileRead::Missing;
    std::ifstream in(file, std::ios::binary);
    if (!in) return FileRead::Unreadable;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? FileRead::Unreadable : FileRead::Read;
}

QString Stamp(const std::filesystem::path& file) {
    const QFileInfo info(QString::fromStdString(file.string()));
    if (!info.exists()) return QStringLiteral("-");
    return QString::number(info.size()) + QLatin1Char('@') +
           QString::number(info.lastModified().toMSecsSinceEpoch());
}

QString FilesStamp(const std::filesystem::path& workDir) {
    return Stamp(workDir / TrainingLogFileName) + QLatin1Char(' ') +
           Stamp(workDir / HoldoutLogName) + QLatin1Char(' ') + Stamp(workDir / LearnCurveName);
}

const QColor BeforeColour(230, 120, 100);
const QColor AfterColour(90, 140, 230);
const QColor HoldoutColour(20, 150, 60);
const QColor InUseColour(130, 40, 160);
const QColor CountColour(150, 150, 150);

// A step for about five labelled ticks over `span`: 1, 2 or 5 times a power of ten.
double TickStep(double span) {
    if (span <= 0) return 1;
    const double rough = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (rough <= factor * power) return factor * power;
    return 10 * power;
}

// The drawing of the chart.
class ChartWidget : public QWidget {
  public:
    explicit ChartWidget(const LearningChartData& data, QWidget* parent)
        : QWidget(parent), data(data) {
        setMinimumSize(480, 300);
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
    }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    const LearningChartData& data;
};

void ChartWidget::paintEvent(QPaintEvent*) {
    const auto& entries = data.training.entries;
    const auto& curve = data.curve.entries;
    if (entries.empty() && curve.empty() && data.holdout.empty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    // The games axis counts the log's games in their order, 1 for the first line: the count
    // in a line goes on from the weights' own training and starts again when a run begins
    // from the shipped weights, so it is neither 0-based nor always rising. The error axis
    // starts at 0 and shows the averages and the held-out curve in full, single games up to
    // their 98th percentile, so a few wild games do not flatten the curves (they stand at the
    // top).
    double minGames = 0, maxGames = double(entries.size()), maxError = 0;
    const int window = MovingAverageWindow(int(entries.size()));
    std::vector<double> before, after, raw;
    for (const TrainingLogEntry& e : entries) {
        before.push_back(e.before);
        after.push_back(e.after);
        raw.push_back(e.before);
        raw.push_back(e.after);
    }
    if (!raw.empty()) {
        auto percentile = raw.begin() + (raw.size() - 1) * 98 / 100;
        std::nth_element(raw.begin(), percentile, raw.end());
        maxError = *percentile;
    }
    for (const std::vector<double>* values : {&before, &after})
        for (double value : MovingAverage(*values, window))
            maxError = std::max(maxError, value);
    for (const LearnCurvePoint& p : curve) {
        minGames = std::min(minGames, double(p.games));
        maxGames = std::max(maxGames, double(p.games));
        maxError = std::max(maxError, p.error);
    }
    const std::vector<int> places = HoldoutPlaces(data);
    std::vector<std::pair<int, double>> inUse;
    for (std::size_t i = 0; i < places.size(); ++i)
        if (places[i] >= 0) inUse.emplace_back(places[i], data.holdout[i].error);
    if (maxError <= 0) maxError = 1;
    const double gameStep = TickStep(std::max(1.0, maxGames - minGames));
    const double errorStep = TickStep(maxError * 1.05);
    minGames = std::floor(minGames / gameStep) * gameStep;
    // The games axis ends at the last game; its ticks stop before it.
    maxGames = std::max(minGames + 1, maxGames);
    maxError = std::ceil(maxError * 1.05 / errorStep) * errorStep;

    const QFontMetrics metrics(font());
    QRectF plot(metrics.horizontalAdvance(QStringLiteral("0000.00")) + 16, 28,
                width() - metrics.horizontalAdvance(QStringLiteral("0000.00")) -
                    metrics.horizontalAdvance(QStringLiteral("0000000")) - 28,
                height() - 28 - 2 * metrics.height() - 16);
    // The held-out error gets a panel of its own over the passes', scaled to its own range
    // and the shipped weights' mark, so that a change of a few percent shows.
    if (!inUse.empty()) {
        const QRectF panel(plot.left(), plot.top(), plot.width(), plot.height() * 0.32);
        plot.setTop(panel.bottom() + metrics.height() + 12);
        double low = ShippedHoldoutError, high = ShippedHoldoutError;
        for (const auto& [place, error] : inUse) {
            low = std::min(low, error);
            high = std::max(high, error);
        }
        const double step = TickStep(std::max(1.0, high - low));
        low = std::floor(low / step) * step - step / 2;
        high = std::ceil(high / step) * step + step / 2;
        auto atHeldOut = [&](double games, double error) {
            return QPointF(
                panel.left() + panel.width() * (games - minGames) / (maxGames - minGames),
                panel.bottom() - panel.height() * (error - low) / (high - low));
        };
        painter.setPen(QColor(225, 225, 225));
        for (double e = std::ceil(low / step) * step; e <= high; e += step)
            painter.drawLine(atHeldOut(minGames, e), atHeldOut(maxGames, e));
        painter.setPen(Qt::black);
        painter.drawRect(panel);
        for (double e = std::ceil(low / step) * step; e <= high; e += step) {
            const QPointF p = atHeldOut(minGames, e);
            painter.drawText(
                QRectF(0, p.y() - metrics.height() / 2.0, panel.left() - 6, metrics.height()),
                Qt::AlignRight | Qt::AlignVCenter, QString::number(e, 'g', 6));
        }
        painter.drawText(QRectF(4, panel.top() - metrics.height() - 6, width(), metrics.height()),
                         Qt::AlignLeft, Text(InUseText));
        painter.setPen(QPen(InUseColour, 1.5, Qt::DashLine));
        painter.drawLine(atHeldOut(minGames, ShippedHoldoutError),
                         atHeldOut(maxGames, ShippedHoldoutError));
        painter.drawText(QRectF(panel.left(), atHeldOut(minGames, ShippedHoldoutError).y(),
                                panel.width() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignTop, Text(ShippedText));
        QPainterPath path;
        for (std::size_t i = 0; i < inUse.size(); ++i) {
            const QPointF p = atHeldOut(inUse[i].first, inUse[i].second);
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(InUseColour, 2.5));
        painter.drawPath(path);
        painter.setBrush(InUseColour);
        for (const auto& [place, error] : inUse)
            painter.drawEllipse(atHeldOut(place, error), 3.0, 3.0);
        painter.setBrush(Qt::NoBrush);
    }
    auto at = [&](double games, double error) {
        return QPointF(plot.left() + plot.width() * (games - minGames) / (maxGames - minGames),
                       plot.bottom() - plot.height() * error / maxError);
    };

    // Axes, grid and labels.
    painter.setPen(QColor(225, 225, 225));
    for (double e = 0; e <= maxError + errorStep / 2; e += errorStep)
        painter.drawLine(at(minGames, e), at(maxGames, e));
    for (double g = minGames; g <= maxGames; g += gameStep)
        painter.drawLine(at(g, 0), at(g, maxError));
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    for (double e = 0; e <= maxError + errorStep / 2; e += errorStep) {
        const QPointF p = at(minGames, e);
        painter.drawText(
            QRectF(0, p.y() - metrics.height() / 2.0, plot.left() - 6, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(e, 'g', 6));
    }
    for (double g = minGames; g <= maxGames; g += gameStep) {
        const QPointF p = at(g, 0);
        painter.drawText(QRectF(p.x() - 40, plot.bottom() + 4, 80, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, QString::number(g, 'f', 0));
    }
    painter.drawText(
        QRectF(plot.left(), plot.bottom() + 4 + metrics.height(), plot.width(), metrics.height()),
        Qt::AlignHCenter, Text(GamesAxisText));
    painter.drawText(QRectF(4, plot.top() - metrics.height() - 6, 200, metrics.height()),
                     Qt::AlignLeft, Text(ErrorAxisText));

    // The per-game errors as dots, their moving averages as lines.
    painter.setClipRect(plot.adjusted(-3, -3, 3, 3));
    struct Series {
        const std::vector<double>* values;
        QColor colour;
    };
    const bool settled = data.PassesCoincide();
    std::vector<Series> shown;
    if (!settled) shown.push_back({&before, BeforeColour});
    shown.push_back({&after, AfterColour});
    for (const Series& series : shown) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(series.colour.lighter(140));
        const double dot = entries.size() > 2000 ? 1.0 : 2.0;
        for (std::size_t i = 0; i < entries.size(); ++i)
            painter.drawEllipse(at(double(i + 1), std::min((*series.values)[i], maxError)), dot,
                                dot);
        const std::vector<double> average = MovingAverage(*series.values, window);
        QPainterPath path;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const QPointF p = at(double(i + 1), average[i]);
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(series.colour.darker(120), 2.0));
        painter.drawPath(path);
    }
    if (!curve.empty()) {
        QPainterPath path;
        for (std::size_t i = 0; i < curve.size(); ++i) {
            const QPointF p = at(curve[i].games, curve[i].error);
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setPen(QPen(HoldoutColour, 2.5));
        painter.drawPath(path);
        painter.setBrush(HoldoutColour);
        for (const LearnCurvePoint& p : curve)
            painter.drawEllipse(at(p.games, p.error), 3.0, 3.0);
    }
    // How many games the weights had been trained on, on the right-hand scale.
    double minCount = 0, maxCount = 0;
    if (!entries.empty()) {
        minCount = maxCount = entries.front().games;
        for (const TrainingLogEntry& e : entries) {
            minCount = std::min(minCount, double(e.games));
            maxCount = std::max(maxCount, double(e.games + 1));
        }
        const double countStep = TickStep(std::max(1.0, maxCount - minCount));
        minCount = std::floor(minCount / countStep) * countStep;
        maxCount = std::max(minCount + countStep, std::ceil(maxCount / countStep) * countStep);
        auto countY = [&](double count) {
            return plot.bottom() - plot.height() * (count - minCount) / (maxCount - minCount);
        };
        QPainterPath path;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const QPointF p(at(double(i + 1), 0).x(), countY(entries[i].games + 1));
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(CountColour, 1.5));
        painter.drawPath(path);
        painter.setClipping(false);
        for (double c = minCount; c <= maxCount + countStep / 2; c += countStep)
            painter.drawText(QRectF(plot.right() + 3, countY(c) - metrics.height() / 2.0,
                                    width() - plot.right() - 3, metrics.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, QString::number(c, 'f', 0));
    }
    painter.setClipping(false);

    // The legend, top right inside the plot.
    QStringList names;
    QList<QColor> colours;
    if (!settled) {
        names << Text(BeforeText) + Text(AverageText).arg(window);
        colours << BeforeColour;
    }
    names << Text(AfterText) + Text(AverageText).arg(window);
    colours << AfterColour;
    if (!entries.empty()) {
        names << Text(CountText);
        colours << CountColour;
    }
    if (!curve.empty()) {
        names << Text(HoldoutText);
        colours << HoldoutColour;
    }
    int legendWidth = 0;
    for (const QString& name : names)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(name));
    const QRectF legend(plot.right() - legendWidth - 40, plot.top() + 6, legendWidth + 34,
                        names.size() * metrics.height() + 8);
    painter.setPen(QColor(180, 180, 180));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(legend);
    for (int i = 0; i < names.size(); ++i) {
        const double y = legend.top() + 4 + (i + 0.5) * metrics.height();
        painter.setPen(QPen(colours[i], 2.5));
        painter.drawLine(QPointF(legend.left() + 6, y), QPointF(legend.left() + 22, y));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(legend.left() + 28, y + metrics.ascent() / 2.0 - 1), names[i]);
    }
}

}  // namespace

int LearningChartData::WeightsGames() const {
    if (!holdout.empty()) return holdout.back().games;
    if (!training.entries.empty()) return training.entries.back().games + 1;
    return -1;
}

double LearningChartData::PassChange() const {
    double change = 0, before = 0;
    for (const TrainingLogEntry& e : training.entries) {
        change += std::abs(e.after - e.before);
        before += e.before;
    }
    return before > 0 ? change / before : 0.0;
}

std::vector<int> HoldoutPlaces(const LearningChartData& data) {
    const auto& entries = data.training.entries;
    std::vector<int> places;
    for (const HoldoutPoint& point : data.holdout) {
        int place = -1;
        for (int i = static_cast<int>(entries.size()); i-- > 0 && place < 0;)
            if (entries[i].games + 1 == point.games) place = i + 1;
        if (place < 0 && !entries.empty() && entries.front().games == point.games) place = 0;
        places.push_back(place);
    }
    return places;
}

int MovingAverageWindow(int entries) {
    return std::clamp(entries / 20, 1, 200);
}

LearningChartData ReadLearningChartData(const std::filesystem::path& workDir) {
    LearningChartData data;
    std::string text;
    switch (ReadWhole(workDir / TrainingLogFileName, text)) {
        case FileRead::Missing:
            data.log = LearningChartData::Log::Missing;
            break;
        case FileRead::Unreadable:
            data.log = LearningChartData::Log::Unreadable;
            break;
        case FileRead::Read:
            data.log = LearningChartData::Log::Read;
            data.training = ParseTrainingLog(text);
            break;
    }
    std::string holdoutText;
    if (ReadWhole(workDir / HoldoutLogName, holdoutText) == FileRead::Read)
        data.holdout = ParseHoldoutLog(holdoutText);
    std::string curveText;
    if (ReadWhole(workDir / LearnCurveName, curveText) == FileRead::Read) {
        data.curveFound = true;
        data.curve = ParseLearnCurve(curveText);
    }
    return data;
}

QString LearningChartMessage(const LearningChartData& data) {
    QStringList parts;
    switch (data.log) {
        case LearningChartData::Log::Missing:
            parts << Text(MissingText);
            break;
        case LearningChartData::Log::Unreadable:
            parts << Text(UnreadableText);
            break;
        case LearningChartData::Log::Read:
            if (!data.training.entries.empty()) {
                parts << Text(ReadText).arg(data.training.entries.size());
                if (data.training.badLines > 0)
                    parts << Text(SkippedText)
                                 .arg(data.training.badLines)
                                 .arg(data.training.firstBadLine);
            } else if (data.training.badLines > 0) {
                parts << Text(AllDamagedText).arg(data.training.firstBadLine);
            } else {
                parts << Text(EmptyText);
            }
            break;
    }
    if (data.curveFound && data.curve.badLines > 0)
        parts << Text(CurveSkippedText).arg(data.curve.badLines);
    const QString shipped = QString::number(ShippedHoldoutError, 'f', 2);
    if (data.holdout.empty())
        parts << Text(ShippedOnlyText).arg(shipped);
    else
        parts << Text(MeasuredText)
                     .arg(QString::number(data.holdout.back().error, 'f', 2))
                     .arg(data.holdout.back().games)
                     .arg(shipped);
    if (data.PassesCoincide())
        parts << Text(SettledText)
                     .arg(QString::number(100 * data.PassChange(), 'f', 1))
                     .arg(data.WeightsGames());
    return parts.join(QLatin1Char('\n'));
}

LearningChartDialog::LearningChartDialog(std::filesystem::path folder, QWidget* parent)
    : QDialog(parent), workDir(std::move(folder)) {
    chart = new ChartWidget(data, this);
    message = new QLabel(this);
    message->setObjectName(QStringLiteral("chartMessage"));
    message->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart, 1);
    layout->addWidget(message);
    resize(720, 480);
    Retranslated(this, [this] {
        setWindowTitle(Text(ChartTitle));
        // Until the first read is done the message stays empty rather than say "no log".
        if (!message->text().isEmpty()) message->setText(LearningChartMessage(data));
        chart->update();
    });

    readPoll = new QTimer(this);
    readPoll->setInterval(20);
    connect(readPoll, &QTimer::timeout, this, &LearningChartDialog::CheckRead);
    poll = new QTimer(this);
    poll->setInterval(1000);
    connect(poll, &QTimer::timeout, this, &LearningChartDialog::CheckFiles);
    poll->start();
    Reload();
}

LearningChartDialog::~LearningChartDialog() {
    // The read works on its own copies; only its result would reach this dialog.
    if (reading.valid()) reading.wait();
}

QString LearningChartDialog::Message() const {
    return message->text();
}

void LearningChartDialog::Reload() {
    if (reading.valid()) return;
    lastStamp = FilesStamp(workDir);
    try {
        reading = std::async(std::launch::async, ReadLearningChartData, workDir);
    } catch (const std::system_error&) {
        // No thread to be had: read on this thread rather than show nothing.
        std::promise<LearningChartData> now;
        now.set_value(ReadLearningChartData(workDir));
        reading = now.get_future();
    }
    readPoll->start();
}

void LearningChartDialog::CheckFiles() {
    if (FilesStamp(workDir) != lastStamp) Reload();
}

void LearningChartDialog::CheckRead() {
    if (!reading.valid() || reading.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    readPoll->stop();
    data = reading.get();
    message->setText(LearningChartMessage(data));
    chart->update();
    Q_EMIT Refreshed();
}

}  // namespace vell
