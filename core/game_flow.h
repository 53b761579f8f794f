#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/board.h"
#include "core/flow_commands.h"
#include "core/game_record.h"
#include "core/history.h"
#include "core/settings.h"
#include "core/think.h"
#include "core/worker_job.h"

namespace vell {

// The id of the game timer; ticks with another id are not the flow's.
constexpr int GameTimerId = 61446;

// A game that has just ended: the final counts, and whether its line reached the game log.
struct FinishedGame {
    StoneCounts counts{};
    bool logged = false;
};

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
    // A game has just ended, its log line written (or not) and its training pass run; the
    // flow's board is still the final one.
    virtual void GameFinished(const FinishedGame& /*game*/) {}
};

// Learning from finished games. The window passes the trainer; vellcli and tests may pass none,
// and then nothing learns.
class GameLearner {
  public:
    virtual ~GameLearner() = default;
    // The training game count of the weight file; numbers the game-log lines.
    virtual int TrainingGameCount() const = 0;
    // The training pass over the game just stored; only called while trainingMode is on.
    virtual void Train(const GameRecord& record) = 0;
};

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
    bool CanTakeBack() const;
    // On a finished game (neither side can move) this starts a new game instead.
    void StartGame();
    void PauseGame();
    void GoToFirst();
    void GoToPrevious();
    void GoToNext();
    void GoToLast();
    // Stops a running think (its result is dropped) and starts a new game from the start
    // position with the current players.
    void NewGame();
    // Stops a running think and goes back to the person's previous turn (with no person
    // playing, one move back); the moves after it are cut from the history.
    void TakeBack();

    // The window's way in. A command its rule allows runs at once (true). One given while the
    // flow passes through ApplyMove or StartTurn, which last a tick or less, is kept and runs
    // at the end of the tick that settles the flow, if its rule allows it then (false). A kept
    // ChangePlayers makes TakePlayersDue true once, when the window is to open its dialog.
    bool Give(FlowCommand command);
    // Whether the window shows the command enabled: allowed now, or allowed once the flow has
    // settled, so the actions do not flicker while the computers play.
    bool Accepts(FlowCommand command) const;
    bool TakePlayersDue();
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
    void LoadHistory(const GameHistory& record);

    // From now on no game-log line is written: another program writes the working folder.
    void StopFileWrites() { writesGameLog = false; }

    // True while a think (current or superseded) has not yet ended.
    bool ThinkRunning() const;
    // While a computer thinks on its turn: the think stops and its move, the best of the
    // deepest depth it completed, is played on the next tick as any other. Otherwise nothing.
    bool CanPlayNow() const;
    void PlayNow();

    const Board& CurrentBoard() const { return board; }
    int SideToMove() const { return sideToMove; }
    FlowState State() const { return flowState; }
    const LegalMap& LegalSquares() const { return legalMap; }
    const GameHistory& History() const { return history; }
    int MarkerColumn() const { return markerColumn; }
    int MarkerRow() const { return markerRow; }
    // The live settings the flow reads each turn.
    const Settings& CurrentSettings() const { return settings; }
    int PlayerOf(int side) const { return settings[side]; }
    // The result of the game just ended: who won, the counts and, with squares left, that
    // neither side can move; lines end in "\n". Empty from the start of the next game, and
    // while navigation shows an earlier position of the game.
    const std::string& ResultText() const {
        return history.currentPly == history.moveCount ? resultText : NoText;
    }
    // "%sはパスです。" from a pass until the side that passed moves again; else empty.
    const std::string& PassText() const { return passText; }

  private:
    void RunStartTurn();
    void RunApplyMove();
    void EndOfGame();
    void FinishGame();
    void Navigate(int ply);
    void StopPlay();
    void ResetToStart();
    void ShowThinkProgress();
    void RunCommand(FlowCommand command);
    bool Allowed(FlowCommand command) const;
    void SupersedeThink();
    void StartThink();
    void RepaintBoardArea();
    void InvalidateCountPanel();

    FlowServices& services;
    Settings& settings;
    SettingsWriter& writer;
    ThinkFunction think;
    GameLearner* learner;
    std::filesystem::path workDir;

    Board board{};
    int sideToMove = White;
    FlowState flowState = FlowState::Stopped;
    LegalMap legalMap{};
    GameHistory history;
    int markerColumn = -1;
    int markerRow = -1;
    int chosenSquare = -1;
    std::string messageText;
    bool timerBusy = false;
    int turnPlayer = 0;  // the player type the turn in progress started with
    int thinkTicks = 0;  // ticks the current think has run
    std::optional<FlowCommand> keptCommand;
    bool playersDue = false;
    bool logFailureReported = false;
    bool writesGameLog = true;
    std::string resultText;
    std::string passText;
    int passSide = -1;  // the side named by passText
    static inline const std::string NoText;

    // The think whose result this turn waits for; last, so a running think ends first.
    WorkerSlot<ThinkRequest, ThinkOutcome> thinks;
};

}  // namespace vell
