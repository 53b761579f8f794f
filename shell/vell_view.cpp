#include "shell/vell_view.h"

#include <cmath>
#include <system_error>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "engine/stones.h"
#include "shell/message_box.h"
#include "shell/players_dialog.h"
#include "shell/settings_store.h"

namespace vell {

namespace {

// The texts of the view.
const char* const PrintFailedText = "印刷できませんでした。";
const char* const HintThinkingText = "ヒントを考えています";
const char* const NoHintText = "ヒントを出せませんでした。";

// The part of the settings the players dialog edits; the rest keeps its live value on OK, so a
// game that ends while the dialog is open still counts.
constexpr int DialogSettings[] = {BlackPlayerSetting, WhitePlayerSetting,  NormalDepthSetting,
                                  FinalDepthSetting,  TrainingModeSetting, OpeningModeSetting};

}  // namespace

CVellView::CVellView(ViewSetup viewSetup, QWidget* parent)
    : QWidget(parent), setup(std::move(viewSetup)), windowThread(std::this_thread::get_id()) {
    // Every paint covers its whole area from the off-screen picture, so nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    game = std::make_unique<GameFlow>(*this, setup.store->settings(), *setup.store, setup.think,
                                      setup.learner, setup.workDir);
    hint = std::make_unique<HintRunner>(setup.think,
                                        [this](std::function<void()> body) { StartWorker(body); });
    review = std::make_unique<ReviewRunner>(
        setup.review, [this](std::function<void()> body) { StartWorker(body); });
    UpdateLayout();
    timer.setInterval(100);
    connect(&timer, &QTimer::timeout, this, &CVellView::Tick);
}

CVellView::~CVellView() {
    timer.stop();
    // The flow and the hint wait for their thinks here, while the view can still take texts.
    review.reset();
    hint.reset();
    game.reset();
}

void CVellView::StartTimer() {
    timer.start();
}

void CVellView::Tick() {
    // A dropped hint still reading the book and the weights holds the game until it ends (at
    // its next search node), since the next move may train them.
    // A review reads the weights too: the game waits for it the same way.
    if ((!hint->Busy() || hint->Thinking()) && !review->Busy()) game->OnTimer();
    // A players command given while the flow was settling comes due after the tick.
    if (game->TakePlayersDue()) OpenPlayersDialog();
    Changed();
}

void CVellView::LoadGame(const GameHistory& history) {
    game->LoadHistory(history);
    Changed();
}

void CVellView::Changed() {
    const bool marked = hint->SuggestedSquare() >= 0;
    if (const std::optional<HintResult> result = hint->Update(*game)) {
        SetPaneText(
            result->side + 1,
            QString::fromStdString(result->square >= 0 ? HintText(result->square, result->verdict)
                                                       : std::string(NoHintText)));
        update();
    } else if (marked && hint->SuggestedSquare() < 0) {
        update();
    }
    const bool reviewed = review->Result() != nullptr;
    if (review->Update(*game) || (reviewed && !review->Result())) update();
    Q_EMIT FlowChanged();
}

void CVellView::Give(FlowCommand command) {
    game->Give(command);
    Changed();
}

bool CVellView::CanShowHint() const {
    return hint->CanStart(*game);
}

void CVellView::ShowHint() {
    if (hint->Start(*game))
        SetPaneText(game->SideToMove() + 1, QString::fromUtf8(HintThinkingText));
    Changed();
}

bool CVellView::CanReviewGame() const {
    return setup.review && review->CanStart(*game);
}

void CVellView::ReviewGame() {
    if (CanReviewGame()) review->Start(*game);
    Changed();
}

void CVellView::CancelReview() {
    review->Cancel();
    Changed();
}

void CVellView::ShowCandidateValues(bool shown) {
    candidateValues = shown;
    update();
}

void CVellView::GoToPly(int ply) {
    if (game->CanGoToPly(ply)) game->GoToPly(ply);
    Changed();
}

void CVellView::StartGame() {
    Give(FlowCommand::StartGame);
}
void CVellView::PauseGame() {
    Give(FlowCommand::PauseGame);
}
void CVellView::GoToFirst() {
    Give(FlowCommand::GoToFirst);
}
void CVellView::GoToPrevious() {
    Give(FlowCommand::GoToPrevious);
}
void CVellView::GoToNext() {
    Give(FlowCommand::GoToNext);
}
void CVellView::GoToLast() {
    Give(FlowCommand::GoToLast);
}
void CVellView::NewGame() {
    Give(FlowCommand::NewGame);
}
void CVellView::TakeBack() {
    Give(FlowCommand::TakeBack);
}

void CVellView::ShowPlayersDialog() {
    if (game->Give(FlowCommand::ChangePlayers)) OpenPlayersDialog();
    Q_EMIT FlowChanged();
}

void CVellView::OpenPlayersDialog() {
    CPlayersDialog dialog(setup.store->settings(), this);
    if (dialog.exec() == QDialog::Accepted) {
        Settings values = setup.store->settings();
        for (int index : DialogSettings)
            values[index] = dialog.Values()[index];
        setup.store->WriteAll(values);  // the store reports a failed write itself, once
    }
    Changed();
}

void CVellView::ShowDataInfo() {
    if (setup.dataInfoText) ShowMessageBox(this, QString::fromStdString(setup.dataInfoText()));
}

void CVellView::ShowBookValue() {
    if (setup.bookValueText)
        ShowMessageBox(this, QString::fromStdString(setup.bookValueText(game->CurrentBoard())));
}

void CVellView::Print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowMessageBox(this, QString::fromUtf8(PrintFailedText));
        return;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    PaintPage(painter, QRect(QPoint(0, 0), page.size()));
    painter.end();
}

void CVellView::PaintScene(QPainter& painter, const QRect& area) const {
    scenePainter.Paint(painter, area, *game, layout, hint->SuggestedSquare());
    if (const MoveReview* move = review->ShownMove(*game))
        scenePainter.PaintReview(painter, *move, layout, candidateValues);
}

void CVellView::PaintPage(QPainter& painter, const QRect& page) const {
    const QSize client = rect().isEmpty() ? sizeHint() : size();
    QImage scene(client * layout.DevicePixelRatio(), QImage::Format_RGB32);
    QPainter scenePaint(&scene);
    PaintScene(scenePaint, scene.rect());
    scenePaint.end();
    const QSize fitted = client.scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(page.topLeft(), fitted), scene);
}

QSize CVellView::sizeHint() const {
    return QSize(SceneWidth, SceneHeight);
}

void CVellView::ShowPaneText(int pane, const std::string& text) {
    if (pane < 0 || pane > 2) return;
    const QString qtext = QString::fromStdString(text);
    if (std::this_thread::get_id() == windowThread) {
        SetPaneText(pane, qtext);
        return;
    }
    // From the thinking thread: the window thread sets the text; no widget is touched here.
    QMetaObject::invokeMethod(
        this, [this, pane, qtext] { SetPaneText(pane, qtext); }, Qt::QueuedConnection);
}

void CVellView::StartWorker(std::function<void()> body) {
    try {
        std::thread(body).detach();
    } catch (const std::system_error&) {
        // No thread to be had: think on this thread rather than leave the turn waiting forever.
        body();
    }
}

void CVellView::RequestRepaint() {
    update();
}

void CVellView::ShowMessage(const std::string& text) {
    ShowMessageBox(window(), QString::fromStdString(text));
}

void CVellView::paintEvent(QPaintEvent* event) {
    // A move to a screen of another pixel ratio arrives as a repaint.
    if (devicePixelRatioF() != layout.DevicePixelRatio() || offscreen.isNull()) UpdateLayout();
    const double ratio = layout.DevicePixelRatio();
    const QRect exposed = event->rect();
    // The exposed area in device pixels, rounded outwards.
    const QRect deviceArea(
        QPoint(int(std::floor(exposed.left() * ratio)), int(std::floor(exposed.top() * ratio))),
        QPoint(int(std::ceil((exposed.right() + 1) * ratio)) - 1,
               int(std::ceil((exposed.bottom() + 1) * ratio)) - 1));
    {
        QPainter offscreenPaint(&offscreen);
        offscreenPaint.setClipRect(deviceArea);
        PaintScene(offscreenPaint, offscreen.rect());
    }
    // One device pixel of the picture to one of the screen.
    QPainter window(this);
    window.drawImage(QRectF(exposed), offscreen,
                     QRectF(QPointF(exposed.topLeft()) * ratio, QSizeF(exposed.size()) * ratio));
}

void CVellView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int square = layout.SquareAt(event->position());
        if (square >= 0) {
            game->ClickSquare(square);
            Changed();
        }
    }
    QWidget::mouseReleaseEvent(event);
}

void CVellView::resizeEvent(QResizeEvent* event) {
    UpdateLayout();
    QWidget::resizeEvent(event);
}

void CVellView::UpdateLayout() {
    // The scene fills the window at the largest whole cell size that fits; its pictures are
    // drawn afresh for that size here, never while painting.
    const double ratio = devicePixelRatioF();
    layout = BoardGeometry::Fit(size(), ratio);
    scenePainter.Prepare(layout.Cell());
    const QSize device(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio)));
    if (offscreen.size() != device) offscreen = QImage(device, QImage::Format_RGB32);
}

void CVellView::SetPaneText(int pane, const QString& text) {
    Q_EMIT PaneTextChanged(pane, text);
}

}  // namespace vell
