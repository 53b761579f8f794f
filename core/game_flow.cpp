#include "core/game_flow.h"

#include <chrono>
#include <fstream>
#include <thread>

#include "core/player_names.h"

namespace vell {

// One computer turn, shared by the window thread and the worker that runs it. The worker writes
// `outcome` and then raises `finished` (release); the window thread reads `outcome` only after
// it has seen `finished` (acquire). A superseded think gets `abortRequested` and its outcome is
// never read.
struct GameFlow::ThinkJob {
    ThinkRequest request;
    std::atomic<bool> abortRequested{false};
    std::atomic<bool> finished{false};
    ThinkOutcome outcome;
};

namespace {

class JobControl : public ThinkControl {
  public:
    JobControl(const std::atomic<bool>& abort, FlowServices& services)
        : abort(abort), services(services) {}
    bool AbortRequested() const override { return abort.load(std::memory_order_relaxed); }
    // A superseded think no longer speaks in the panes of the game that replaced it.
    void ShowPaneText(int pane, const std::string& text) override {
        if (!AbortRequested()) services.ShowPaneText(pane, text);
    }

  private:
    const std::atomic<bool>& abort;
    FlowServices& services;
};

std::string SideName(int side) {
    return std::string(SideNames[side]);
}

Rect CellRect(int column, int row) {
    return {BoardLeft + column * CellWidth, BoardTop + row * CellHeight,
            BoardLeft + (column + 1) * CellWidth, BoardTop + (row + 1) * CellHeight};
}

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

GameFlow::~GameFlow() {
    if (!lastJob) return;
    lastJob->abortRequested.store(true);
    while (!lastJob->finished.load(std::memory_order_acquire))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool GameFlow::ThinkRunning() const {
    return lastJob && !lastJob->finished.load(std::memory_order_acquire);
}

void GameFlow::OnTimer(int timerId) {
    // A message box or the training pass runs inside a tick; ticks arriving meanwhile return.
    if (timerBusy || timerId != GameTimerId) return;
    timerBusy = true;
    switch (flowState) {
        case FlowState::Stopped:
            services.ShowPaneText(0, "停止");
            break;
        case FlowState::AwaitingMove:
            if (activeJob && activeJob->finished.load(std::memory_order_acquire)) {
                const std::shared_ptr<ThinkJob> job = std::move(activeJob);
                const ThinkOutcome& outcome = job->outcome;
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
                    services.ShowMessage("なんかエラー。");
                    flowState = FlowState::Stopped;
                }
            }
            break;
        case FlowState::ApplyMove:
            RunApplyMove();
            break;
        case FlowState::StartTurn:
            RunStartTurn();
            break;
    }
    timerBusy = false;
}

void GameFlow::RunApplyMove() {
    // Training and the book may change once the move is applied; a superseded think that is
    // still reading them must end first. It stops at its next node, so this is a tick at most.
    if (ThinkRunning()) return;

    if (markerColumn >= 0 && markerRow >= 0)
        services.RequestRepaint(CellRect(markerColumn, markerRow));
    markerColumn = chosenSquare / 8;
    markerRow = chosenSquare % 8;
    PlayMove(board, chosenSquare, sideToMove);
    services.RequestRepaint(std::nullopt);

    const int ply = ++history.currentPly;
    history.moveColumn[ply] = markerColumn;
    history.moveRow[ply] = markerRow;
    history.boardAtPly[ply] = board;
    history.moveCount = ply;
    services.ShowPaneText(sideToMove + 1, messageText);

    LegalMap map;
    sideToMove = 1 - sideToMove;
    if (CountLegalMoves(board, sideToMove, &map) == 0) {
        sideToMove = 1 - sideToMove;
        if (CountLegalMoves(board, sideToMove, &map) == 0) {
            EndOfGame();
            return;
        }
        services.ShowPaneText(2 - sideToMove, SideName(1 - sideToMove) + "はパスです。");
    }
    legalMap = map;
    history.sideAtPly[ply] = sideToMove;
    flowState = FlowState::StartTurn;
    services.RequestRepaint(std::nullopt);
    RunStartTurn();
}

void GameFlow::RunStartTurn() {
    // At most one think at a time: a superseded one gets a tick or two to end.
    if (ThinkRunning()) return;

    // Play may resume (after navigation) where the side to move has no move but the other
    // side has: that side passes here, as it would have after a move.
    LegalMap map;
    if (CountLegalMoves(board, sideToMove, &map) == 0) {
        LegalMap other;
        if (CountLegalMoves(board, 1 - sideToMove, &other) > 0) {
            services.ShowPaneText(sideToMove + 1, SideName(sideToMove) + "はパスです。");
            sideToMove = 1 - sideToMove;
            history.sideAtPly[history.currentPly] = sideToMove;
            map = other;
        }
    }
    // The highlight always shows the moves of the position on the board.
    legalMap = map;

    services.ShowPaneText(0, SideName(sideToMove) + "の番です。");
    flowState = FlowState::AwaitingMove;
    messageText.clear();
    if (PlayerOf(sideToMove) != HumanPlayer) {
        services.ShowPaneText(sideToMove + 1, "思考中です");
        StartThink();
    } else {
        services.ShowPaneText(sideToMove + 1, "打ってください。");
        services.RequestRepaint(std::nullopt);
    }
}

void GameFlow::StartThink() {
    auto job = std::make_shared<ThinkJob>();
    job->request = ThinkRequest{board, sideToMove, settings};
    activeJob = job;
    lastJob = job;
    services.StartWorker([job, think = think, &services = services]() {
        JobControl control(job->abortRequested, services);
        ThinkOutcome outcome;
        try {
            outcome = think(job->request, control);
        } catch (...) {
            outcome = ThinkOutcome{ThinkNoMove, -1, {}};
        }
        job->outcome = std::move(outcome);
        job->finished.store(true, std::memory_order_release);
    });
}

void GameFlow::SupersedeThink() {
    if (!activeJob) return;
    activeJob->abortRequested.store(true);
    activeJob.reset();
}

void GameFlow::EndOfGame() {
    // The final position keeps a side to move: the colour that made the last move.
    history.sideAtPly[history.currentPly] = sideToMove;
    FinishGame();
    const StoneCounts counts = CountStones(board);
    services.ShowPaneText(0, "終了");
    services.ShowPaneText(1, "黒" + std::to_string(counts[Black]) + "石");
    services.ShowPaneText(2, "白" + std::to_string(counts[White]) + "石");
    flowState = FlowState::Stopped;
    if (settings[TrainingModeSetting] == 0) return;

    // Training: the next game starts by itself from the start of the history.
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
    {
        // A log that cannot be opened is skipped; the end of the game goes on.
        std::ofstream log(workDir / "vellkif.txt", std::ios::app);
        if (log)
            log << GameLogLine(history, trainingGames, settings[BlackPlayerSetting],
                               settings[WhitePlayerSetting], counts);
    }
    settings[GamesPlayedSetting] += 1;
    writer.WriteSetting(GamesPlayedSetting, settings[GamesPlayedSetting]);
    if (settings[TrainingModeSetting] != 0 && learner) learner->Train(record);
}

void GameFlow::RepaintBoardArea() {
    services.RequestRepaint(
        Rect{BoardLeft, BoardTop, BoardLeft + 8 * CellWidth, BoardTop + 8 * CellHeight});
}

void GameFlow::InvalidateCountPanel() {
    services.RequestRepaint(Rect{BoardLeft + 11 * CellWidth, BoardTop + 2 * CellHeight,
                                 BoardLeft + 12 * CellWidth, BoardTop + 4 * CellHeight});
}

bool GameFlow::CanStartGame() const {
    return flowState == FlowState::Stopped;
}
bool GameFlow::CanPauseGame() const {
    return flowState != FlowState::Stopped;
}
bool GameFlow::CanGoToFirst() const {
    return flowState == FlowState::Stopped;
}

bool GameFlow::CanGoToPrevious() const {
    return history.currentPly > 0 && CanChangePlayers();
}

bool GameFlow::CanGoToNext() const {
    return history.currentPly < history.moveCount && CanChangePlayers();
}

bool GameFlow::CanGoToLast() const {
    return CanChangePlayers();
}

bool GameFlow::CanChangePlayers() const {
    return flowState == FlowState::Stopped || flowState == FlowState::AwaitingMove;
}

void GameFlow::StartGame() {
    if (CanStartGame()) flowState = FlowState::StartTurn;
}

void GameFlow::PauseGame() {
    if (!CanPauseGame()) return;
    SupersedeThink();
    flowState = FlowState::Stopped;
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
    board = history.boardAtPly[ply];
    sideToMove = history.sideAtPly[ply];
    if (ply + 1 <= history.moveCount) {
        markerColumn = history.moveColumn[ply + 1];
        markerRow = history.moveRow[ply + 1];
    } else {
        markerColumn = markerRow = -1;
    }
    history.currentPly = ply;
    RepaintBoardArea();
    flowState = FlowState::Stopped;
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
    services.ShowPaneText(0, "打てませんよ。");
    return false;
}

void GameFlow::LoadHistory(const GameHistory& record) {
    history = record;
    history.currentPly = 0;
    Navigate(0);
}

}  // namespace vell
