#include "shell/vell_view.h"

#include <cmath>
#include <system_error>

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "shell/message_box.h"
#include "shell/players_dialog.h"
#include "shell/settings_store.h"

namespace vell {

namespace {

// The texts of the view.
const char* const PrintFailedText = "印刷できませんでした。";

// The part of the settings the players dialog edits; the rest keeps its live value on OK, so a
// game that ends while the dialog is open still counts.
constexpr int DialogSettings[] = {BlackPlayerSetting, WhitePlayerSetting,  NormalDepthSetting,
                                  FinalDepthSetting,  TrainingModeSetting, OpeningModeSetting};

constexpr int OffscreenWidth = 1024;
constexpr int OffscreenHeight = 768;

}  // namespace

CVellView::CVellView(ViewSetup viewSetup, QWidget* parent)
    : QWidget(parent), setup(std::move(viewSetup)), windowThread(std::this_thread::get_id()) {
    // Every paint covers its whole area from the off-screen picture, so nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    offscreen = QPixmap(OffscreenWidth, OffscreenHeight);
    game = std::make_unique<GameFlow>(*this, setup.store->settings(), *setup.store, setup.think,
                                      setup.learner, setup.workDir);
    timer.setInterval(100);
    connect(&timer, &QTimer::timeout, this, &CVellView::Tick);
}

CVellView::~CVellView() {
    timer.stop();
    // The flow waits for a running think here, while the view can still take its pane texts.
    game.reset();
}

void CVellView::StartTimer() {
    timer.start();
}

void CVellView::Tick() {
    game->OnTimer();
    // A players command given while the flow was settling comes due after the tick.
    if (game->TakePlayersDue()) OpenPlayersDialog();
    Q_EMIT FlowChanged();
}

void CVellView::LoadGame(const GameHistory& history) {
    game->LoadHistory(history);
    Q_EMIT FlowChanged();
}

void CVellView::Give(FlowCommand command) {
    game->Give(command);
    Q_EMIT FlowChanged();
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
    scenePainter.Paint(painter, area, *game);
}

void CVellView::PaintPage(QPainter& painter, const QRect& page) const {
    const QSize client = rect().isEmpty() ? sizeHint() : size();
    QImage scene(client, QImage::Format_RGB32);
    QPainter scenePaint(&scene);
    PaintScene(scenePaint, scene.rect());
    scenePaint.end();
    const QSize fitted = client.scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(page.topLeft(), fitted), scene);
}

QSize CVellView::sizeHint() const {
    return QSize(BoardLeft + 20 * CellWidth, BoardTop * 2 + 8 * CellHeight);
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

void CVellView::RequestRepaint(const std::optional<Rect>& area) {
    if (area)
        update(QRect(area->left, area->top, area->right - area->left, area->bottom - area->top));
    else
        update();
}

void CVellView::ShowMessage(const std::string& text) {
    ShowMessageBox(window(), QString::fromStdString(text));
}

void CVellView::paintEvent(QPaintEvent* event) {
    {
        QPainter offscreenPaint(&offscreen);
        offscreenPaint.setClipRect(event->rect());
        PaintScene(offscreenPaint, offscreen.rect());
    }
    QPainter window(this);
    window.drawPixmap(event->rect(), offscreen, event->rect());
}

void CVellView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Floor division: a point left of or above the board gives a negative cell.
        const QPointF p = event->position();
        const int column = static_cast<int>(std::floor((p.x() - BoardLeft) / CellWidth));
        const int row = static_cast<int>(std::floor((p.y() - BoardTop) / CellHeight));
        if (column >= 0 && column < 8 && row >= 0 && row < 8) {
            game->ClickSquare(column * 8 + row);
            Q_EMIT FlowChanged();
        }
    }
    QWidget::mouseReleaseEvent(event);
}

void CVellView::resizeEvent(QResizeEvent* event) {
    // The off-screen picture covers at least 1024 x 768 and grows with a larger window.
    if (width() > offscreen.width() || height() > offscreen.height())
        offscreen =
            QPixmap(std::max(width(), offscreen.width()), std::max(height(), offscreen.height()));
    QWidget::resizeEvent(event);
}

void CVellView::SetPaneText(int pane, const QString& text) {
    Q_EMIT PaneTextChanged(pane, text);
}

}  // namespace vell
