#include "shell/vell_view.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "core/player_names.h"
#include "core/square_name.h"
#include "engine/stones.h"
#include "shell/language.h"
#include "shell/logic_texts.h"
#include "shell/message_box.h"
#include "shell/players_dialog.h"
#include "shell/settings_store.h"
#include "shell/text.h"

namespace vell {

namespace {

// The texts of the view.
const char* const PrintFailedText = QT_TRANSLATE_NOOP("Vell", "印刷できませんでした。");
const char* const HintThinkingText = QT_TRANSLATE_NOOP("Vell", "ヒントを考えています");
const char* const NoHintText = QT_TRANSLATE_NOOP("Vell", "ヒントを出せませんでした。");
const char* const BoardName = QT_TRANSLATE_NOOP("Vell", "盤");
const char* const EmptySquareText = QT_TRANSLATE_NOOP("Vell", "空き");
const char* const StartHintText =
    QT_TRANSLATE_NOOP("Vell",
                      "▶（対局を開始）か Ctrl+N で対局が始まります。\n"
                      "盤をクリックするか、矢印キーと Enter で打ちます。");

// Repaints a second while stones turn.
constexpr int FramesPerSecond = 60;

// The part of the settings the players dialog edits; the rest keeps its live value on OK, so a
// game that ends while the dialog is open still counts.
constexpr int DialogSettings[] = {BlackPlayerSetting, WhitePlayerSetting,  NormalDepthSetting,
                                  FinalDepthSetting,  TrainingModeSetting, OpeningModeSetting,
                                  MoveTimeSetting};

}  // namespace

CVellView::CVellView(ViewSetup viewSetup, QWidget* parent)
    : QWidget(parent), setup(std::move(viewSetup)), windowThread(std::this_thread::get_id()) {
    // Every paint covers its whole area from the off-screen picture, so nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    game = std::make_unique<GameFlow>(*this, setup.store->settings(), *setup.store, setup.think,
                                      setup.learner, setup.workDir);
    if (!setup.writesFiles) game->StopFileWrites();
    hint = std::make_unique<HintRunner>(setup.think,
                                        [this](std::function<void()> body) { StartWorker(body); });
    review = std::make_unique<ReviewRunner>(
        setup.review, [this](std::function<void()> body) { StartWorker(body); });
    UpdateLayout();
    timer.setInterval(100);
    connect(&timer, &QTimer::timeout, this, &CVellView::Tick);

    options = ViewOptions::Load();
    sounds.SetEnabled(options.sound);
    frameTimer.setInterval(1000 / FramesPerSecond);
    connect(&frameTimer, &QTimer::timeout, this, [this] {
        if (!Animating()) frameTimer.stop();
        update();
    });
    drawnBoard = game->CurrentBoard();
    setFocusPolicy(Qt::StrongFocus);
    Retranslated(this, [this] {
        setAccessibleName(Text(BoardName));
        for (int pane = 0; pane < 3; ++pane)
            if (!paneSources[pane].isEmpty())
                Q_EMIT PaneTextChanged(pane, LogicText(paneSources[pane]));
        update();
    });
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
    game->OnTimer();
    FollowGame();
    // A players command given while the flow was settling comes due after the tick.
    if (game->TakePlayersDue()) OpenPlayersDialog();
    Changed();
}

void CVellView::LoadGame(const GameHistory& history) {
    game->LoadHistory(history);
    SettleDrawing();
    Changed();
}

void CVellView::FollowGame() {
    const Board& board = game->CurrentBoard();
    const GameHistory& history = game->History();
    const bool quiet = Unattended();
    if (board != drawnBoard) {
        flips.Finish();
        const bool moved =
            history.currentPly == drawnPly + 1 && history.moveCount == history.currentPly;
        if (moved && options.animation && !quiet && flips.Start(drawnBoard, board, animationMs)) {
            flipClock.start();
            frameTimer.start();
        }
        if (moved && !quiet) sounds.Play(GameSound::Place);
    }
    const bool pass = !game->PassText().empty();
    const bool result = !game->ResultText().empty();
    if (pass && !passSeen && !quiet) sounds.Play(GameSound::Pass);
    if (result && !resultSeen && !quiet) sounds.Play(GameSound::End);
    drawnBoard = board;
    drawnPly = history.currentPly;
    passSeen = pass;
    resultSeen = result;
    if (cursor >= 0) DescribeCursor();
}

void CVellView::SettleDrawing() {
    if (flips.Running(0)) update();
    flips.Finish();
    drawnBoard = game->CurrentBoard();
    drawnPly = game->History().currentPly;
    passSeen = !game->PassText().empty();
    resultSeen = !game->ResultText().empty();
    if (cursor >= 0) DescribeCursor();
}

bool CVellView::Animating() const {
    return flips.Running(int(flipClock.elapsed()));
}

bool CVellView::Unattended() const {
    return game->PlayerOf(Black) != HumanPlayer && game->PlayerOf(White) != HumanPlayer &&
           game->CurrentSettings()[TrainingModeSetting] != 0;
}

int CVellView::LastMoveSquare() const {
    const GameHistory& history = game->History();
    return history.currentPly >= 1 ? history.SquareOfMove(history.currentPly) : -1;
}

void CVellView::SetSquareNamesShown(bool shown) {
    options.squareNames = shown;
    options.Store();
    update();
}

void CVellView::SetAnimationOn(bool on) {
    options.animation = on;
    options.Store();
    if (!on) SettleDrawing();
}

void CVellView::SetLanguageChoice(LanguageChoice choice) {
    options.language = choice;
    options.Store();
    UseLanguage(SystemLanguage(choice));
}

void CVellView::SetSoundOn(bool on) {
    options.sound = on;
    options.Store();
    sounds.SetEnabled(on);
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
    // A command shows its outcome at once: a move still turning over is finished first.
    flips.Finish();
    game->Give(command);
    SettleDrawing();
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
    flips.Finish();
    if (game->CanGoToPly(ply)) game->GoToPly(ply);
    SettleDrawing();
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
void CVellView::PlayNow() {
    game->PlayNow();
    Changed();
}

void CVellView::ShowPlayersDialog() {
    // Allowed now, the dialog opens here; the flow's reminder for a kept command is not for
    // this one.
    if (game->Give(FlowCommand::ChangePlayers)) {
        game->TakePlayersDue();
        OpenPlayersDialog();
    }
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
    if (setup.dataInfoText) ShowMessageBox(this, LogicText(setup.dataInfoText()));
}

void CVellView::ShowBookValue() {
    if (setup.bookValueText)
        ShowMessageBox(this, LogicText(setup.bookValueText(game->CurrentBoard())));
}

void CVellView::Print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowMessageBox(this, Text(PrintFailedText));
        return;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    PaintPage(painter, QRect(QPoint(0, 0), page.size()));
    painter.end();
}

void CVellView::PaintScene(QPainter& painter, const QRect& area) const {
    SceneMarks marks;
    marks.hintSquare = hint->SuggestedSquare();
    marks.lastMove = LastMoveSquare();
    marks.cursor = hasFocus() ? cursor : -1;
    marks.squareNames = options.squareNames;
    if (Animating()) {
        marks.flips = &flips;
        marks.elapsedMs = int(flipClock.elapsed());
    }
    const GameHistory& history = game->History();
    if (game->State() == FlowState::Stopped && history.moveCount == 0)
        marks.boardNotice = Text(StartHintText);
    scenePainter.Paint(painter, area, *game, layout, marks);
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
    ShowMessageBox(window(), LogicText(text));
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

void CVellView::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
            return MoveCursor(-1, 0);
        case Qt::Key_Right:
            return MoveCursor(1, 0);
        case Qt::Key_Up:
            return MoveCursor(0, -1);
        case Qt::Key_Down:
            return MoveCursor(0, 1);
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            // The same as a click on the cursor's square; the first press only shows it.
            if (cursor < 0) return MoveCursor(0, 0);
            game->ClickSquare(cursor);
            Changed();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void CVellView::MoveCursor(int columns, int rows) {
    if (cursor < 0) {
        // First shown on the lowest square the person to move can play, else in the middle.
        cursor = 27;
        const LegalMap& legal = game->LegalSquares();
        if (game->State() == FlowState::AwaitingMove)
            for (int s = 0; s < 64; ++s)
                if (legal[s]) {
                    cursor = s;
                    break;
                }
    } else {
        const int column = std::clamp(cursor / 8 + columns, 0, 7);
        const int row = std::clamp(cursor % 8 + rows, 0, 7);
        cursor = column * 8 + row;
    }
    DescribeCursor();
    update();
}

void CVellView::DescribeCursor() {
    const int value = game->CurrentBoard()[cursor];
    const std::string colour(value == Empty ? EmptySquareText : SideNames[value]);
    setAccessibleDescription(QString::fromStdString(SquareName(cursor) + " ") +
                             Text(colour.c_str()));
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void CVellView::focusInEvent(QFocusEvent* event) {
    // Reached by the keyboard, the board shows its cursor at once.
    if (cursor < 0 &&
        (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason))
        MoveCursor(0, 0);
    update();
    QWidget::focusInEvent(event);
}

void CVellView::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
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
    paneSources[pane] = text;
    Q_EMIT PaneTextChanged(pane, LogicText(text));
}

}  // namespace vell
