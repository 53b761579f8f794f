#include "core/game_flow.h"

#include <climits>

#include "core/append_lines.h"
#include "core/file_names.h"
#include "core/flow_texts.h"
#include "core/player_names.h"

namespace vell {

namespace {

// The think's view of its job: the cancel flag, the depth it reports, and the panes, which a
// superseded think no longer writes into.
class JobControl : public ThinkControl {
  public:
    JobControl(WorkerJob<ThinkRequest, ThinkOutcome>& job, FlowServices& services)
        : job(job), services(services) {}
    bool AbortRequested() const override { return job.Cancelled(); }
    void ShowPaneText(int pane, const std::string& text) override {
        if (!AbortRequested()) services.ShowPaneText(pane, text);
    }
    void ReportDepth(int reached) override { job.ReportProgress(reached); }
    bool PlayNowRequested() const override { return job.Hurried(); }

  private:
    WorkerJob<ThinkRequest, ThinkOutcome>& job;
    FlowServices& services;
};

// Ticks per second of the 100 ms game timer.
constexpr int TicksPerSecond = 10;

}  // namespace

GameFlow::GameFlow(FlowServices& services, Settings& settings, SettingsWriter& writer,
                   ThinkFunction think, GameLearner* learner, std::filesystem::path workDir)
    : services(services),
      settings(settings),
      writer(writer),
      think(std::move(think)),
      learner(learner),
      workDir(std::move(workDir)) {
    SetStartPosition(board);
    history.Reset(board, White);
}

GameFlow::~GameFlow() = default;

bool GameFlow::ThinkRunning() const {
    return thinks.Busy();
}

bool GameFlow::CanPlayNow() const {
    return flowState == FlowState::AwaitingMove && thinks.Running();
}

void GameFlow::PlayNow() {
    if (CanPlayNow()) thinks.HurryActive();
}

void GameFlow::OnTimer(int timerId) {
    // A message box or the training pass runs inside a tick; ticks arriving meanwhile return.
    if (timerBusy || timerId != GameTimerId) return;
    timerBusy = true;
    switch (flowState) {
        case FlowState::Stopped:
            services.ShowPaneText(0, StoppedText);
            break;
        case FlowState::AwaitingMove:
            if (PlayerOf(sideToMove) != turnPlayer) {
                // The players dialog changed the side to move mid-turn: its turn starts again.
                SupersedeThink();
                flowState = FlowState::StartTurn;
                RunStartTurn();
            } else if (const ThinkOutcome* finished = thinks.TakeFinished()) {
                const ThinkOutcome outcome = *finished;
                thinks.Drop();
                Board scratch;
                const bool playable = outcome.result == ThinkMoveReady && outcome.square >= 0 &&
                                      outcome.square < 64 && board[outcome.square] == Empty &&
                                      TryMove(board, scratch, outcome.square, sideToMove) > 1;
                if (playable) {
                    chosenSquare = outcome.square;
                    messageText = outcome.message;
                    flowState = FlowState::ApplyMove;
                } else {
                    // No move to play: report it and stop rather than wait for a move that
                    // never comes.
                    services.ShowMessage(ThinkFailedText);
                    flowState = FlowState::Stopped;
                }
            } else if (thinks.Active()) {
                ShowThinkProgress();
            }
            break;
        case FlowState::ApplyMove:
            RunApplyMove();
            break;
        case FlowState::StartTurn:
            RunStartTurn();
            break;
    }
    // A command given while the flow was settling runs once it has settled.
    if (keptCommand && flowState != FlowState::ApplyMove && flowState != FlowState::StartTurn) {
        const FlowCommand command = *keptCommand;
        keptCommand.reset();
        if (Allowed(command)) RunCommand(command);
    }
    timerBusy = false;
}

void GameFlow::ShowThinkProgress() {
    ++thinkTicks;
    if (thinkTicks % TicksPerSecond != 0) return;
    const int depth = thinks.Active()->Progress();
    services.ShowPaneText(sideToMove + 1, ThinkProgressText(thinkTicks / TicksPerSecond, depth));
}

void GameFlow::RunApplyMove() {
    markerColumn = chosenSquare / 8;
    markerRow = chosenSquare % 8;
    PlayMove(board, chosenSquare, sideToMove);
    services.RequestRepaint();

    const int ply = ++history.currentPly;
    history.moveColumn[ply] = markerColumn;
    history.moveRow[ply] = markerRow;
    history.boardAtPly[ply] = board;
    history.moveCount = ply;
    services.ShowPaneText(sideToMove + 1, messageText);
    // A pass stands until the side that passed moves again, so a person who passed still
    // reads it when the computer's second move has come.
    if (sideToMove == passSide) passText.clear();

    LegalMap map;
    sideToMove = 1 - sideToMove;
    if (CountLegalMoves(board, sideToMove, &map) == 0) {
        sideToMove = 1 - sideToMove;
        if (CountLegalMoves(board, sideToMove, &map) == 0) {
            EndOfGame();
            return;
        }
        passText = PassTextOf(1 - sideToMove);
        passSide = 1 - sideToMove;
        services.ShowPaneText(2 - sideToMove, passText);
    }
    legalMap = map;
    history.sideAtPly[ply] = sideToMove;
    flowState = FlowState::StartTurn;
    services.RequestRepaint();
    RunStartTurn();
}

void GameFlow::RunStartTurn() {
    // At most one think at a time, so two never share the processor: a superseded one gets a
    // tick or two to end (it stops at its next node).
    if (ThinkRunning()) return;

    // Play may resume (after navigation) where the side to move has no move but the other
    // side has: that side passes here, as it would have after a move.
    LegalMap map;
    if (CountLegalMoves(board, sideToMove, &map) == 0) {
        LegalMap other;
        if (CountLegalMoves(board, 1 - sideToMove, &other) > 0) {
            passText = PassTextOf(sideToMove);
            passSide = sideToMove;
            services.ShowPaneText(sideToMove + 1, passText);
            sideToMove = 1 - sideToMove;
            history.sideAtPly[history.currentPly] = sideToMove;
            map = other;
        }
    }
    // The highlight always shows the moves of the position on the board.
    legalMap = map;

    services.ShowPaneText(0, TurnText(sideToMove));
    flowState = FlowState::AwaitingMove;
    messageText.clear();
    turnPlayer = PlayerOf(sideToMove);
    thinkTicks = 0;
    if (PlayerOf(sideToMove) != HumanPlayer) {
        services.ShowPaneText(sideToMove + 1, ThinkingText);
        StartThink();
    } else {
        services.ShowPaneText(sideToMove + 1, PleaseMoveText);
        services.RequestRepaint();
    }
}

void GameFlow::StartThink() {
    thinks.Start([this](std::function<void()> body) { services.StartWorker(std::move(body)); },
                 ThinkRequest{board, sideToMove, settings},
                 [think = think, &services = services](WorkerJob<ThinkRequest, ThinkOutcome>& job) {
                     JobControl control(job, services);
                     return RunThink(think, job.input, control);
                 });
}

void GameFlow::SupersedeThink() {
    thinks.Drop();
}

void GameFlow::EndOfGame() {
    // The final position keeps a side to move: the colour that made the last move.
    history.sideAtPly[history.currentPly] = sideToMove;
    FinishGame();
    const StoneCounts counts = CountStones(board);
    resultText = ResultTextOf(counts);
    services.ShowPaneText(0, FinishedText);
    services.ShowPaneText(1, StoneCountText(Black, counts[Black]));
    services.ShowPaneText(2, StoneCountText(White, counts[White]));
    flowState = FlowState::Stopped;
    if (settings[TrainingModeSetting] == 0) return;

    // Training: the next game starts by itself from the start of the history.
    resultText.clear();
    board = history.boardAtPly[0];
    sideToMove = history.sideAtPly[0];
    markerColumn = history.moveCount >= 1 ? history.moveColumn[1] : -1;
    markerRow = history.moveCount >= 1 ? history.moveRow[1] : -1;
    history.currentPly = 0;
    RepaintBoardArea();
    InvalidateCountPanel();
    flowState = FlowState::StartTurn;
}

void GameFlow::FinishGame() {
    const GameRecord record = MakeGameRecord(history, board);
    const StoneCounts counts = CountStones(board);
    const int trainingGames = learner ? learner->TrainingGameCount() : 0;
    // A log line that cannot be written is left out, reported once; the end of the game goes on.
    const std::string line = GameLogLine(history, trainingGames, settings[BlackPlayerSetting],
                                         settings[WhitePlayerSetting], counts);
    const bool logged = writesGameLog &&
                        AppendWholeLines(workDir / GameLogFileName, line) == AppendResult::Appended;
    if (writesGameLog && !logged && !logFailureReported) {
        logFailureReported = true;
        services.ShowMessage(LogNotWrittenText);
    }
    // A hand-edited count at the largest int stays there rather than overflow.
    if (settings[GamesPlayedSetting] < INT_MAX) settings[GamesPlayedSetting] += 1;
    writer.WriteSetting(GamesPlayedSetting, settings[GamesPlayedSetting]);
    if (settings[TrainingModeSetting] != 0 && learner) learner->Train(record);
    services.GameFinished(FinishedGame{counts, logged});
}

void GameFlow::RepaintBoardArea() {
    services.RequestRepaint();
}

void GameFlow::InvalidateCountPanel() {
    services.RequestRepaint();
}

void GameFlow::StartGame() {
    if (!CanStartGame()) return;
    // A finished game is not played on: a new one begins with the current players.
    if (CountLegalMoves(board, Black) == 0 && CountLegalMoves(board, White) == 0) {
        NewGame();
        return;
    }
    resultText.clear();
    flowState = FlowState::StartTurn;
}

void GameFlow::PauseGame() {
    if (!CanPauseGame()) return;
    SupersedeThink();
    StopPlay();
}

void GameFlow::StopPlay() {
    // The mover's prompt and the highlight belong to a turn that no longer waits.
    if (flowState == FlowState::AwaitingMove) services.ShowPaneText(sideToMove + 1, "");
    flowState = FlowState::Stopped;
    services.RequestRepaint();
}

void GameFlow::NewGame() {
    SupersedeThink();
    keptCommand.reset();
    Board start;
    SetStartPosition(start);
    history.Reset(start, White);
    ResetToStart();
    services.ShowPaneText(1, "");
    services.ShowPaneText(2, "");
    flowState = FlowState::StartTurn;
}

void GameFlow::ResetToStart() {
    board = history.boardAtPly[0];
    sideToMove = history.sideAtPly[0];
    markerColumn = markerRow = -1;
    legalMap = {};
    resultText.clear();
    passText.clear();
    services.RequestRepaint();
}

void GameFlow::TakeBack() {
    if (!CanTakeBack()) return;
    SupersedeThink();
    int ply = history.currentPly - 1;
    for (int p = ply; p >= 0; --p) {
        if (PlayerOf(history.sideAtPly[p]) == HumanPlayer) {
            ply = p;
            break;
        }
    }
    StopPlay();
    board = history.boardAtPly[ply];
    sideToMove = history.sideAtPly[ply];
    history.currentPly = history.moveCount = ply;
    // During play the marker frames the last move made.
    markerColumn = ply >= 1 ? history.moveColumn[ply] : -1;
    markerRow = ply >= 1 ? history.moveRow[ply] : -1;
    resultText.clear();
    passText.clear();
    InvalidateCountPanel();
    flowState = FlowState::StartTurn;
}

void GameFlow::GoToFirst() {
    if (CanGoToFirst()) Navigate(0);
}

void GameFlow::GoToPrevious() {
    if (CanGoToPrevious()) Navigate(history.currentPly - 1);
}

void GameFlow::GoToNext() {
    if (CanGoToNext()) Navigate(history.currentPly + 1);
}

void GameFlow::GoToLast() {
    if (CanGoToLast()) Navigate(history.moveCount);
}

void GameFlow::Navigate(int ply) {
    SupersedeThink();
    StopPlay();
    board = history.boardAtPly[ply];
    sideToMove = history.sideAtPly[ply];
    if (ply + 1 <= history.moveCount) {
        markerColumn = history.moveColumn[ply + 1];
        markerRow = history.moveRow[ply + 1];
    } else {
        markerColumn = markerRow = -1;
    }
    history.currentPly = ply;
    passText.clear();
    RepaintBoardArea();
    InvalidateCountPanel();
}

bool GameFlow::ClickSquare(int square) {
    if (PlayerOf(sideToMove) != HumanPlayer || flowState != FlowState::AwaitingMove || square < 0 ||
        square >= 64)
        return false;
    Board scratch;
    if (board[square] == Empty && TryMove(board, scratch, square, sideToMove) > 1) {
        // A think started before the side became a person's must not play as well.
        SupersedeThink();
        chosenSquare = square;
        messageText.clear();
        flowState = FlowState::ApplyMove;
        return true;
    }
    services.ShowPaneText(0, CannotMoveThereText);
    return false;
}

void GameFlow::LoadHistory(const GameHistory& record) {
    history = record;
    history.currentPly = 0;
    resultText.clear();
    Navigate(0);
}

}  // namespace vell
