#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/board.h"
#include "core/game_record.h"
#include "core/history.h"
#include "core/settings.h"
#include "core/think.h"

namespace vell {

// The id of the game timer; ticks with another id are not the flow's.
constexpr int GameTimerId = 61446;

// What the flow needs of the window system. The window implements it with Qt; vellcli and
// the tests with plain code. The 100 ms tick itself is the front end calling OnTimer.
class FlowServices {
  public:
    virtual ~FlowServices() = default;
    // Status pane 0 (general), 1 (black) or 2 (white). Also called on a worker thread while a
    // computer thinks; the implementation carries the text over to the window thread.
    virtual void ShowPaneText(int pane, const std::string& text) = 0;
    // Runs `body` on a new worker thread and returns at once.
    virtual void StartWorker(std::function<void()> body) = 0;
    // Repaint the scene (board, marker, highlight and counts) without erasing. Where things
    // are drawn is the front end's business; the flow only says that something changed.
    virtual void RequestRepaint() = 0;
    // A modal message box with an OK button; returns when it is closed.
    virtual void ShowMessage(const std::string& text) = 0;
};

// Learning from finished games: the training issue fills it in; until then nothing learns.
class GameLearner {
  public:
    virtual ~GameLearner() = default;
    // The training game count of the weight file; numbers the game-log lines.
    virtual int TrainingGameCount() const = 0;
    // The training pass over the game just stored; only called while trainingMode is on.
    virtual void Train(const GameRecord& record) = 0;
};

enum class FlowState { Stopped = 0, AwaitingMove = 1, ApplyMove = 2, StartTurn = 3 };

// The one game in progress: position, side to move, history, and the timer-driven state machine
// that hands turns to people and to the think, applies moves, finds passes and the end of the
// game. Everything runs on the window thread except the think, which gets private copies.
class GameFlow {
  public:
    // `settings` is the live settings array (read each turn); `workDir` holds vellkif.txt.
    GameFlow(FlowServices& services, Settings& settings, SettingsWriter& writer,
             ThinkFunction think, GameLearner* learner, std::filesystem::path workDir);
    ~GameFlow();  // asks a running think to stop and waits for it to end
    GameFlow(const GameFlow&) = delete;
    GameFlow& operator=(const GameFlow&) = delete;

    // One step of the state machine; ticks of other timers are ignored.
    void OnTimer(int timerId = GameTimerId);

    // Commands and their enable rules.
    bool CanStartGame() const;
    bool CanPauseGame() const;
    bool CanGoToFirst() const;
    bool CanGoToPrevious() const;
    bool CanGoToNext() const;
    bool CanGoToLast() const;
    bool CanChangePlayers() const;
    void StartGame();
    void PauseGame();
    void GoToFirst();
    void GoToPrevious();
    void GoToNext();
    void GoToLast();
    // Shows ply 0..moveCount as the navigation command that reaches it would: ply 0 as
    // GoToFirst (or GoToPrevious from ply 1), the last ply as GoToLast, any other as
    // GoToPrevious and GoToNext do.
    bool CanGoToPly(int ply) const;
    void GoToPly(int ply);

    // A person's click on a square (0..63): on a legal square of a person's turn the move is
    // applied on the next tick and true is returned. Clicks outside a person's turn are
    // ignored (false); an occupied or illegal square shows "打てませんよ。" (false).
    bool ClickSquare(int square);

    // Replaces the history (an opened game record) and shows its first position, stopped.
    void LoadHistory(const GameHistory& history);

    // True while a think (current or superseded) has not yet ended.
    bool ThinkRunning() const;

    const Board& board() const { return board_; }
    int sideToMove() const { return sideToMove_; }
    FlowState flowState() const { return flowState_; }
    const LegalMap& legalMap() const { return legalMap_; }
    const GameHistory& history() const { return history_; }
    int markerColumn() const { return markerColumn_; }
    int markerRow() const { return markerRow_; }
    const Settings& settings() const { return settings_; }
    int PlayerOf(int side) const { return settings_[side]; }

  private:
    struct ThinkJob;

    void RunStartTurn();
    void RunApplyMove();
    void EndOfGame();
    void FinishGame();
    void ShowTurnPanes();
    void Navigate(int ply);
    void SupersedeThink();
    void StartThink();
    void RepaintBoardArea();
    void InvalidateCountPanel();

    FlowServices& services_;
    Settings& settings_;
    SettingsWriter& writer_;
    ThinkFunction think_;
    GameLearner* learner_;
    std::filesystem::path workDir_;

    Board board_{};
    int sideToMove_ = White;
    FlowState flowState_ = FlowState::Stopped;
    LegalMap legalMap_{};
    GameHistory history_;
    int markerColumn_ = -1;
    int markerRow_ = -1;
    int chosenSquare_ = -1;
    std::string messageText_;
    bool timerBusy_ = false;

    std::shared_ptr<ThinkJob> activeJob_;  // the think whose result this turn waits for
    std::shared_ptr<ThinkJob> lastJob_;    // the most recently started think, maybe superseded
};

}  // namespace vell
