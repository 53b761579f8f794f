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

}  // namespace

GameFlow::GameFlow(FlowServices& services, Settings& settings, SettingsWriter& writer,
                   ThinkFunction think, GameLearner* learner, std::filesystem::path workDir)
    : services_(services),
      settings_(settings),
      writer_(writer),
      think_(std::move(think)),
      learner_(learner),
      workDir_(std::move(workDir)) {
    SetStartPosition(board_);
    history_.Reset(board_, White);
}

GameFlow::~GameFlow() {
    if (!lastJob_) return;
    lastJob_->abortRequested.store(true);
    while (!lastJob_->finished.load(std::memory_order_acquire))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool GameFlow::ThinkRunning() const {
    return lastJob_ && !lastJob_->finished.load(std::memory_order_acquire);
}

void GameFlow::OnTimer(int timerId) {
    // A message box or the training pass runs inside a tick; ticks arriving meanwhile return.
    if (timerBusy_ || timerId != GameTimerId) return;
    timerBusy_ = true;
    switch (flowState_) {
        case FlowState::Stopped:
            services_.ShowPaneText(0, "停止");
            break;
        case FlowState::AwaitingMove:
            if (activeJob_ && activeJob_->finished.load(std::memory_order_acquire)) {
                const std::shared_ptr<ThinkJob> job = std::move(activeJob_);
                const ThinkOutcome& outcome = job->outcome;
                Board scratch;
                const bool playable = outcome.result == ThinkMoveReady && outcome.square >= 0 &&
                                      outcome.square < 64 && board_[outcome.square] == Empty &&
                                      TryMove(board_, scratch, outcome.square, sideToMove_) > 1;
                if (playable) {
                    chosenSquare_ = outcome.square;
                    messageText_ = outcome.message;
                    flowState_ = FlowState::ApplyMove;
                } else {
                    // No move to play: report it and stop rather than wait for a move that
                    // never comes.
                    services_.ShowMessage("なんかエラー。");
                    flowState_ = FlowState::Stopped;
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
    timerBusy_ = false;
}

void GameFlow::RunApplyMove() {
    // Training and the book may change once the move is applied; a superseded think that is
    // still reading them must end first. It stops at its next node, so this is a tick at most.
    if (ThinkRunning()) return;

    markerColumn_ = chosenSquare_ / 8;
    markerRow_ = chosenSquare_ % 8;
    PlayMove(board_, chosenSquare_, sideToMove_);
    services_.RequestRepaint();

    const int ply = ++history_.currentPly;
    history_.moveColumn[ply] = markerColumn_;
    history_.moveRow[ply] = markerRow_;
    history_.boardAtPly[ply] = board_;
    history_.moveCount = ply;
    services_.ShowPaneText(sideToMove_ + 1, messageText_);

    LegalMap map;
    sideToMove_ = 1 - sideToMove_;
    if (CountLegalMoves(board_, sideToMove_, &map) == 0) {
        sideToMove_ = 1 - sideToMove_;
        if (CountLegalMoves(board_, sideToMove_, &map) == 0) {
            EndOfGame();
            return;
        }
        services_.ShowPaneText(2 - sideToMove_, SideName(1 - sideToMove_) + "はパスです。");
    }
    legalMap_ = map;
    history_.sideAtPly[ply] = sideToMove_;
    flowState_ = FlowState::StartTurn;
    services_.RequestRepaint();
    RunStartTurn();
}

void GameFlow::RunStartTurn() {
    // At most one think at a time: a superseded one gets a tick or two to end.
    if (ThinkRunning()) return;

    // Play may resume (after navigation) where the side to move has no move but the other
    // side has: that side passes here, as it would have after a move.
    LegalMap map;
    if (CountLegalMoves(board_, sideToMove_, &map) == 0) {
        LegalMap other;
        if (CountLegalMoves(board_, 1 - sideToMove_, &other) > 0) {
            services_.ShowPaneText(sideToMove_ + 1, SideName(sideToMove_) + "はパスです。");
            sideToMove_ = 1 - sideToMove_;
            history_.sideAtPly[history_.currentPly] = sideToMove_;
            map = other;
        }
    }
    // The highlight always shows the moves of the position on the board.
    legalMap_ = map;

    services_.ShowPaneText(0, SideName(sideToMove_) + "の番です。");
    flowState_ = FlowState::AwaitingMove;
    messageText_.clear();
    if (PlayerOf(sideToMove_) != HumanPlayer) {
        services_.ShowPaneText(sideToMove_ + 1, "思考中です");
        StartThink();
    } else {
        services_.ShowPaneText(sideToMove_ + 1, "打ってください。");
        services_.RequestRepaint();
    }
}

void GameFlow::StartThink() {
    auto job = std::make_shared<ThinkJob>();
    job->request = ThinkRequest{board_, sideToMove_, settings_};
    activeJob_ = job;
    lastJob_ = job;
    services_.StartWorker([job, think = think_, &services = services_]() {
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
    if (!activeJob_) return;
    activeJob_->abortRequested.store(true);
    activeJob_.reset();
}

void GameFlow::EndOfGame() {
    // The final position keeps a side to move: the colour that made the last move.
    history_.sideAtPly[history_.currentPly] = sideToMove_;
    FinishGame();
    const StoneCounts counts = CountStones(board_);
    services_.ShowPaneText(0, "終了");
    services_.ShowPaneText(1, "黒" + std::to_string(counts[Black]) + "石");
    services_.ShowPaneText(2, "白" + std::to_string(counts[White]) + "石");
    flowState_ = FlowState::Stopped;
    if (settings_[TrainingModeSetting] == 0) return;

    // Training: the next game starts by itself from the start of the history.
    board_ = history_.boardAtPly[0];
    sideToMove_ = history_.sideAtPly[0];
    markerColumn_ = history_.moveCount >= 1 ? history_.moveColumn[1] : -1;
    markerRow_ = history_.moveCount >= 1 ? history_.moveRow[1] : -1;
    history_.currentPly = 0;
    RepaintBoardArea();
    InvalidateCountPanel();
    flowState_ = FlowState::StartTurn;
}

void GameFlow::FinishGame() {
    const GameRecord record = MakeGameRecord(history_, board_);
    const StoneCounts counts = CountStones(board_);
    const int trainingGames = learner_ ? learner_->TrainingGameCount() : 0;
    {
        // A log that cannot be opened is skipped; the end of the game goes on.
        std::ofstream log(workDir_ / "vellkif.txt", std::ios::app);
        if (log)
            log << GameLogLine(history_, trainingGames, settings_[BlackPlayerSetting],
                               settings_[WhitePlayerSetting], counts);
    }
    settings_[GamesPlayedSetting] += 1;
    writer_.WriteSetting(GamesPlayedSetting, settings_[GamesPlayedSetting]);
    if (settings_[TrainingModeSetting] != 0 && learner_) learner_->Train(record);
}

void GameFlow::RepaintBoardArea() {
    services_.RequestRepaint();
}

void GameFlow::InvalidateCountPanel() {
    services_.RequestRepaint();
}

bool GameFlow::CanStartGame() const {
    return flowState_ == FlowState::Stopped;
}
bool GameFlow::CanPauseGame() const {
    return flowState_ != FlowState::Stopped;
}
bool GameFlow::CanGoToFirst() const {
    return flowState_ == FlowState::Stopped;
}

bool GameFlow::CanGoToPrevious() const {
    return history_.currentPly > 0 && CanChangePlayers();
}

bool GameFlow::CanGoToNext() const {
    return history_.currentPly < history_.moveCount && CanChangePlayers();
}

bool GameFlow::CanGoToLast() const {
    return CanChangePlayers();
}

bool GameFlow::CanChangePlayers() const {
    return flowState_ == FlowState::Stopped || flowState_ == FlowState::AwaitingMove;
}

void GameFlow::StartGame() {
    if (CanStartGame()) flowState_ = FlowState::StartTurn;
}

void GameFlow::PauseGame() {
    if (!CanPauseGame()) return;
    SupersedeThink();
    flowState_ = FlowState::Stopped;
}

void GameFlow::GoToFirst() {
    if (CanGoToFirst()) Navigate(0);
}

void GameFlow::GoToPrevious() {
    if (CanGoToPrevious()) Navigate(history_.currentPly - 1);
}

void GameFlow::GoToNext() {
    if (CanGoToNext()) Navigate(history_.currentPly + 1);
}

void GameFlow::GoToLast() {
    if (CanGoToLast()) Navigate(history_.moveCount);
}

bool GameFlow::CanGoToPly(int ply) const {
    if (ply < 0 || ply > history_.moveCount) return false;
    if (ply == 0) return CanGoToFirst() || (history_.currentPly == 1 && CanGoToPrevious());
    if (ply == history_.moveCount) return CanGoToLast();
    return CanChangePlayers();
}

void GameFlow::GoToPly(int ply) {
    if (CanGoToPly(ply)) Navigate(ply);
}

void GameFlow::Navigate(int ply) {
    SupersedeThink();
    board_ = history_.boardAtPly[ply];
    sideToMove_ = history_.sideAtPly[ply];
    if (ply + 1 <= history_.moveCount) {
        markerColumn_ = history_.moveColumn[ply + 1];
        markerRow_ = history_.moveRow[ply + 1];
    } else {
        markerColumn_ = markerRow_ = -1;
    }
    history_.currentPly = ply;
    RepaintBoardArea();
    flowState_ = FlowState::Stopped;
    InvalidateCountPanel();
}

bool GameFlow::ClickSquare(int square) {
    if (PlayerOf(sideToMove_) != HumanPlayer || flowState_ != FlowState::AwaitingMove ||
        square < 0 || square >= 64)
        return false;
    Board scratch;
    if (board_[square] == Empty && TryMove(board_, scratch, square, sideToMove_) > 1) {
        // A think started before the side became a person's must not play as well.
        SupersedeThink();
        chosenSquare_ = square;
        messageText_.clear();
        flowState_ = FlowState::ApplyMove;
        return true;
    }
    services_.ShowPaneText(0, "打てませんよ。");
    return false;
}

void GameFlow::LoadHistory(const GameHistory& history) {
    history_ = history;
    history_.currentPly = 0;
    Navigate(0);
}

}  // namespace vell
