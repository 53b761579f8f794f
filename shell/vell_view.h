#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "core/game_flow.h"
#include "engine/hint_runner.h"
#include "engine/review_runner.h"
#include "shell/board_geometry.h"
#include "shell/board_painter.h"
#include "shell/flip_animation.h"
#include "shell/sound_player.h"
#include "shell/view_options.h"

class QPainter;

namespace vell {

class SettingsStore;

// What the view needs to run the game: the settings, the think, the learner and the folder of
// the game log, and the texts of the two research boxes (made by the data and the book).
struct ViewSetup {
    SettingsStore* store = nullptr;
    ThinkFunction think;
    GameLearner* learner = nullptr;
    std::filesystem::path workDir;
    std::function<std::string()> dataInfoText;
    std::function<std::string(const Board&)> bookValueText;
    // The review of a game with the engine's weights; empty: no review.
    ReviewFunction review;
    // False when another program writes the working folder: no game log is written.
    bool writesFiles = true;
};

// The board view: draws the game, turns clicks and keys into moves, carries the game commands to
// the flow and gives the flow its window services (tick, worker, panes, repaints, message box).
// It shows each move the game makes turning over and sounds it; the game never waits for that.
class CVellView : public QWidget, public FlowServices {
    Q_OBJECT

  public:
    explicit CVellView(ViewSetup setup, QWidget* parent = nullptr);
    ~CVellView() override;

    GameFlow& flow() { return *game; }
    const GameFlow& flow() const { return *game; }

    // Starts the 100 ms game timer; until then nothing ticks. It runs for the view's lifetime.
    void StartTimer();
    // One tick of the game, as the timer gives it.
    void Tick();
    // Replaces the game with an opened record, shown at its first position and stopped.
    void LoadGame(const GameHistory& history);

    // Where the scene lies on the window at its present size and pixel ratio.
    const BoardGeometry& geometry() const { return layout; }
    // The folder of the game's files (the logs among them).
    const std::filesystem::path& WorkDir() const { return setup.workDir; }

    // The hint: whether one can be asked for now, and the square it suggests (-1 for none).
    bool CanShowHint() const;
    int HintSquare() const { return hint->SuggestedSquare(); }
    const HintRunner& hintRunner() const { return *hint; }

    // The game review: whether one can start now, and its runner.
    bool CanReviewGame() const;
    const ReviewRunner& reviewRunner() const { return *review; }
    // Every legal move's value is written on its square at a reviewed position.
    bool CandidateValuesShown() const { return candidateValues; }

    // Draws the scene as the window shows it into `painter` over `area`, in device pixels.
    void PaintScene(QPainter& painter, const QRect& area) const;
    // Draws the window's scene scaled into `page`: the picture printing puts on paper.
    void PaintPage(QPainter& painter, const QRect& page) const;

    QSize sizeHint() const override;

    // The choices of "表示(&V)" for the board; each change is stored.
    const ViewOptions& Options() const { return options; }
    void SetSquareNamesShown(bool shown);
    void SetAnimationOn(bool on);
    void SetSoundOn(bool on);
    // Stores the language choice and shows the window in the language it gives at once.
    void SetLanguageChoice(LanguageChoice choice);
    // How long a move takes to turn over, in ms (300 unless changed).
    void SetAnimationDuration(int ms) { animationMs = ms; }
    // Whether a move is still being drawn turning over.
    bool Animating() const;
    // The square of the move that made the shown position; -1 at the start.
    int LastMoveSquare() const;
    // The keyboard's square; -1 until a key shows it.
    int CursorSquare() const { return cursor; }
    // Both sides computers with training on: nothing moves or sounds.
    bool Unattended() const;

    // FlowServices. ShowPaneText may be called from the thinking thread; the text then reaches
    // the window through a queued call on the window thread.
    void ShowPaneText(int pane, const std::string& text) override;
    void StartWorker(std::function<void()> body) override;
    void RequestRepaint() override;
    void ShowMessage(const std::string& text) override;

  public Q_SLOTS:
    void StartGame();
    void PauseGame();
    void GoToFirst();
    void GoToPrevious();
    void GoToNext();
    void GoToLast();
    void NewGame();
    void TakeBack();
    // Makes the thinking computer play the best move of its deepest completed depth at once.
    void PlayNow();
    // Shows ply 0..moveCount as the navigation commands would (GameFlow::GoToPly).
    void GoToPly(int ply);
    // Asks the engine for a hint for the person to move: the square is marked and the verdict
    // written into that side's pane when it is ready; it never plays.
    void ShowHint();
    // Reviews the game on the screen on a worker thread; the dock follows FlowChanged.
    void ReviewGame();
    void CancelReview();
    void ShowCandidateValues(bool shown);
    void ShowPlayersDialog();
    void ShowDataInfo();
    void ShowBookValue();
    void Print();

  Q_SIGNALS:
    // A text for status pane 0 (general), 1 (black) or 2 (white) in the window's language; always
    // on the window thread, and again for every pane when the language changes.
    void PaneTextChanged(int pane, const QString& text);
    // The flow may have changed state: the command states are to be recomputed.
    void FlowChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void SetPaneText(int pane, const QString& text);
    void Give(FlowCommand command);
    void OpenPlayersDialog();
    // After anything that may have changed the game: the hint follows, the commands are told.
    void Changed();
    void UpdateLayout();
    // After a tick: a move just made turns over and sounds, a pass and a game's end sound.
    void FollowGame();
    // After a command: the board is drawn as it is, with nothing in motion.
    void SettleDrawing();
    void MoveCursor(int columns, int rows);
    void DescribeCursor();

    ViewSetup setup;
    BoardPainter scenePainter;
    BoardGeometry layout;
    // The whole scene is drawn here in device pixels, then copied to the window at once.
    QImage offscreen;
    QTimer timer;
    std::thread::id windowThread;
    std::unique_ptr<GameFlow> game;
    std::unique_ptr<HintRunner> hint;  // after the flow: ends (and waits) first
    std::unique_ptr<ReviewRunner> review;
    bool candidateValues = false;

    ViewOptions options;
    SoundPlayer sounds;
    FlipAnimation flips;
    QElapsedTimer flipClock;
    QTimer frameTimer;  // repaints while stones turn
    int animationMs = 300;
    // What the last drawing followed: the board and ply, and whether a pass or a result stood.
    Board drawnBoard{};
    int drawnPly = 0;
    bool passSeen = false;
    bool resultSeen = false;
    int cursor = -1;
    // The panes' texts as the game wrote them, translated each time they are shown.
    std::array<QString, 3> paneSources;
};

}  // namespace vell
