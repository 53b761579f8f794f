#include "core/game_flow.h"

#include <chrono>
#include <climits>
#include <cstdio>
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
    std::atomic<int> depthReached{0};  // 0 until a deepening search reports a finished depth
    ThinkOutcome outcome;
};

namespace {

class JobControl : public ThinkControl {
  public:
    JobControl(const std::atomic<bool>& abort, std::atomic<int>& depth, FlowServices& services)
        : abort(abort), depth(depth), services(services) {}
    bool AbortRequested() const override { return abort.load(std::memory_order_relaxed); }
    // A superseded think no longer speaks in the panes of the game that replaced it.
    void ShowPaneText(int pane, const std::string& text) override {
        if (!AbortRequested()) services.ShowPaneText(pane, text);
    }
    void ReportDepth(int reached) override { depth.store(reached, std::memory_order_relaxed); }

  private:
    const std::atomic<bool>& abort;
    std::atomic<int>& depth;
    FlowServices& services;
};

// The texts of the flow besides those of the turn loop itself.
const char* const LogNotWrittenText = "vellkif.txt に書き込めませんでした。";
const char* const WinsText = "の勝ちです。";
const char* const DrawText = "引き分けです。";
const char* const NoMoveLeftText = "マス残りましたが、どちらも打てません。";
const char* const ThinkingText = "思考中です";

// Ticks per second of the 100 ms game timer.
constexpr int TicksPerSecond = 10;

std::string SideName(int side) {
    return std::string(SideNames[side]);
}

// "黒の勝ちです。黒40石 白20石" and, with squares left, "4マス空いていますが、..." below it.
std::string MakeResultText(const StoneCounts& counts) {
    std::string text = counts[Black] == counts[White]
                           ? std::string(DrawText)
                           : SideName(counts[Black] > counts[White] ? Black : White) + WinsText;
    text += "黒" + std::to_string(counts[Black]) + "石 白" + std::to_string(counts[White]) + "石\n";
    if (counts[Empty] > 0) text += std::to_string(counts[Empty]) + NoMoveLeftText + "\n";
    return text;
}

// "思考中です（3秒）", with the finished depth when the search reports one.
std::string ThinkProgressText(int seconds, int depth) {
    std::string text = std::string(ThinkingText) + "（" + std::to_string(seconds) + "秒";
    if (depth > 0) text += "、深さ" + std::to_string(depth);
    return text + "）";
}

// Appends whole lines or nothing: a write that fails part-way (a full disk) is cut back to the
// previous length. False when the text could not be appended.
bool AppendWholeLines(const std::filesystem::path& file, const std::string& text) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    const std::uintmax_t before = error ? 0 : size;
    std::FILE* out = std::fopen(file.string().c_str(), "a");
    if (!out) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    written = std::fflush(out) == 0 && written;
    written = std::fclose(out) == 0 && written;
    if (!written) std::filesystem::resize_file(file, before, error);
    return written;
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
            if (PlayerOf(sideToMove) != turnPlayer) {
                // The players dialog changed the side to move mid-turn: its turn starts again.
                SupersedeThink();
                flowState = FlowState::StartTurn;
                RunStartTurn();
            } else if (activeJob && activeJob->finished.load(std::memory_order_acquire)) {
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
            } else if (activeJob) {
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
        if (Allowed(command, flowState, history.currentPly, history.moveCount)) RunCommand(command);
    }
    timerBusy = false;
}

void GameFlow::ShowThinkProgress() {
    ++thinkTicks;
    if (thinkTicks % TicksPerSecond != 0) return;
    const int depth = activeJob->depthReached.load(std::memory_order_relaxed);
    services.ShowPaneText(sideToMove + 1, ThinkProgressText(thinkTicks / TicksPerSecond, depth));
}

void GameFlow::RunApplyMove() {
    // Training and the book may change once the move is applied; a superseded think that is
    // still reading them must end first. It stops at its next node, so this is a tick at most.
    if (ThinkRunning()) return;

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
    passText.clear();  // the side that moved again after a pass has now moved

    LegalMap map;
    sideToMove = 1 - sideToMove;
    if (CountLegalMoves(board, sideToMove, &map) == 0) {
        sideToMove = 1 - sideToMove;
        if (CountLegalMoves(board, sideToMove, &map) == 0) {
            EndOfGame();
            return;
        }
        passText = SideName(1 - sideToMove) + "はパスです。";
        services.ShowPaneText(2 - sideToMove, passText);
    }
    legalMap = map;
    history.sideAtPly[ply] = sideToMove;
    flowState = FlowState::StartTurn;
    services.RequestRepaint();
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
            passText = SideName(sideToMove) + "はパスです。";
            services.ShowPaneText(sideToMove + 1, passText);
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
    turnPlayer = PlayerOf(sideToMove);
    thinkTicks = 0;
    if (PlayerOf(sideToMove) != HumanPlayer) {
        services.ShowPaneText(sideToMove + 1, "思考中です");
        StartThink();
    } else {
        services.ShowPaneText(sideToMove + 1, "打ってください。");
        services.RequestRepaint();
    }
}

void GameFlow::StartThink() {
    auto job = std::make_shared<ThinkJob>();
    job->request = ThinkRequest{board, sideToMove, settings};
    activeJob = job;
    lastJob = job;
    services.StartWorker([job, think = think, &services = services]() {
        JobControl control(job->abortRequested, job->depthReached, services);
        job->outcome = RunThink(think, job->request, control);
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
    resultText = MakeResultText(counts);
    services.ShowPaneText(0, "終了");
    services.ShowPaneText(1, "黒" + std::to_string(counts[Black]) + "石");
    services.ShowPaneText(2, "白" + std::to_string(counts[White]) + "石");
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
    if (!AppendWholeLines(workDir / "vellkif.txt", line) && !logFailureReported) {
        logFailureReported = true;
        services.ShowMessage(LogNotWrittenText);
    }
    // A hand-edited count at the largest int stays there rather than overflow.
    if (settings[GamesPlayedSetting] < INT_MAX) settings[GamesPlayedSetting] += 1;
    writer.WriteSetting(GamesPlayedSetting, settings[GamesPlayedSetting]);
    if (settings[TrainingModeSetting] != 0 && learner) learner->Train(record);
}

void GameFlow::RepaintBoardArea() {
    services.RequestRepaint();
}

void GameFlow::InvalidateCountPanel() {
    services.RequestRepaint();
}

bool GameFlow::Allowed(FlowCommand command, FlowState state, int ply, int moveCount) const {
    const bool stopped = state == FlowState::Stopped;
    const bool steady = stopped || state == FlowState::AwaitingMove;
    switch (command) {
        case FlowCommand::StartGame:
        case FlowCommand::GoToFirst:
            return stopped;
        case FlowCommand::PauseGame:
            return !stopped;
        case FlowCommand::GoToPrevious:
        case FlowCommand::TakeBack:
            return ply > 0 && steady;
        case FlowCommand::GoToNext:
            return ply < moveCount && steady;
        case FlowCommand::GoToLast:
        case FlowCommand::ChangePlayers:
            return steady;
        case FlowCommand::NewGame:
            return true;
    }
    return false;
}

bool GameFlow::Accepts(FlowCommand command) const {
    if (flowState == FlowState::ApplyMove)  // settles awaiting the next move, one ply on
        return Allowed(command, FlowState::AwaitingMove, history.currentPly + 1,
                       history.currentPly + 1);
    if (flowState == FlowState::StartTurn)
        return Allowed(command, FlowState::AwaitingMove, history.currentPly, history.moveCount);
    return Allowed(command, flowState, history.currentPly, history.moveCount);
}

bool GameFlow::Give(FlowCommand command) {
    if (Allowed(command, flowState, history.currentPly, history.moveCount)) {
        RunCommand(command);
        return true;
    }
    if (Accepts(command)) keptCommand = command;
    return false;
}

bool GameFlow::TakePlayersDue() {
    const bool due = playersDue;
    playersDue = false;
    return due;
}

void GameFlow::RunCommand(FlowCommand command) {
    switch (command) {
        case FlowCommand::StartGame:
            return StartGame();
        case FlowCommand::PauseGame:
            return PauseGame();
        case FlowCommand::GoToFirst:
            return GoToFirst();
        case FlowCommand::GoToPrevious:
            return GoToPrevious();
        case FlowCommand::GoToNext:
            return GoToNext();
        case FlowCommand::GoToLast:
            return GoToLast();
        case FlowCommand::ChangePlayers:
            // Run from the kept command only; given directly the window opens its dialog.
            playersDue = true;
            return;
        case FlowCommand::NewGame:
            return NewGame();
        case FlowCommand::TakeBack:
            return TakeBack();
    }
}

bool GameFlow::CanStartGame() const {
    return Allowed(FlowCommand::StartGame, flowState, 0, 0);
}
bool GameFlow::CanPauseGame() const {
    return Allowed(FlowCommand::PauseGame, flowState, 0, 0);
}
bool GameFlow::CanGoToFirst() const {
    return Allowed(FlowCommand::GoToFirst, flowState, 0, 0);
}

bool GameFlow::CanGoToPrevious() const {
    return Allowed(FlowCommand::GoToPrevious, flowState, history.currentPly, history.moveCount);
}

bool GameFlow::CanGoToNext() const {
    return Allowed(FlowCommand::GoToNext, flowState, history.currentPly, history.moveCount);
}

bool GameFlow::CanGoToLast() const {
    return Allowed(FlowCommand::GoToLast, flowState, 0, 0);
}

bool GameFlow::CanChangePlayers() const {
    return Allowed(FlowCommand::ChangePlayers, flowState, 0, 0);
}

bool GameFlow::CanTakeBack() const {
    return Allowed(FlowCommand::TakeBack, flowState, history.currentPly, history.moveCount);
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

bool GameFlow::CanGoToPly(int ply) const {
    if (ply < 0 || ply > history.moveCount) return false;
    if (ply == 0) return CanGoToFirst() || (history.currentPly == 1 && CanGoToPrevious());
    if (ply == history.moveCount) return CanGoToLast();
    return CanChangePlayers();
}

void GameFlow::GoToPly(int ply) {
    if (CanGoToPly(ply)) Navigate(ply);
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
    services.ShowPaneText(0, "打てませんよ。");
    return false;
}

void GameFlow::LoadHistory(const GameHistory& record) {
    history = record;
    history.currentPly = 0;
    resultText.clear();
    Navigate(0);
}

}  // namespace vell
