#include "core/game_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <chrono>
#include <thread>

#ifdef __unix__
#include <sys/resource.h>
#endif

#include "core/player_names.h"
#include "tests/core/fake_services.h"

namespace vell {
namespace {

using testing::FakeControl;
using testing::FakeServices;
using testing::FirstLegalMove;
using testing::MemorySettingsWriter;

class GameFlowTest : public ::testing::Test {
  protected:
    GameFlowTest() {
        dir = std::filesystem::temp_directory_path() /
              ("vell_flow_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    ~GameFlowTest() override {
        services.RunWorkers();  // a flow waits for its last think when it is destroyed
        flow.reset();
        std::filesystem::remove_all(dir);
    }

    GameFlow& MakeFlow(int black, int white, ThinkFunction think = FirstLegalMove,
                       GameLearner* learner = nullptr) {
        settings[BlackPlayerSetting] = black;
        settings[WhitePlayerSetting] = white;
        services.RunWorkers();
        flow.reset();
        flow =
            std::make_unique<GameFlow>(services, settings, writer, std::move(think), learner, dir);
        return *flow;
    }

    // Ticks (running each think as soon as it starts) until the flow stops or the limit.
    void PlayUntilStopped(int maxTicks = 1000) {
        for (int i = 0; i < maxTicks; ++i) {
            flow->OnTimer();
            services.RunWorkers();
            if (flow->State() == FlowState::Stopped) return;
        }
        FAIL() << "the game did not stop";
    }

    std::string ReadLog() {
        std::ifstream in(dir / "vellkif.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path dir;
    FakeServices services;
    MemorySettingsWriter writer;
    Settings settings = DefaultSettings;
    std::unique_ptr<GameFlow> flow;
};

TEST_F(GameFlowTest, StartsStoppedWithWhiteToMoveAndComputerMakesFirstMove) {
    GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player);
    game.OnTimer();
    EXPECT_EQ(services.Pane(0), "停止");
    EXPECT_EQ(game.SideToMove(), White);

    game.StartGame();
    game.OnTimer();
    EXPECT_EQ(services.Pane(0), "白の番です。");
    EXPECT_EQ(services.Pane(2), "思考中です");
    ASSERT_EQ(services.workers.size(), 1u);
    services.RunWorkers();
    game.OnTimer();  // sees the result
    EXPECT_EQ(game.State(), FlowState::ApplyMove);
    game.OnTimer();  // applies it, then announces black
    EXPECT_EQ(game.History().moveCount, 1);
    EXPECT_EQ(game.History().SquareOfMove(1), 19);
    EXPECT_EQ(services.Pane(2), "first");
    EXPECT_EQ(services.Pane(0), "黒の番です。");
    EXPECT_EQ(services.Pane(1), "打ってください。");
    EXPECT_EQ(game.MarkerColumn(), 2);
    EXPECT_EQ(game.MarkerRow(), 3);
}

TEST_F(GameFlowTest, PersonsTurnHighlightsLegalSquaresAndRefusesOthers) {
    GameFlow& game = MakeFlow(HumanPlayer, HumanPlayer);
    game.StartGame();
    game.OnTimer();
    // The first move of the game is a person's: the highlight shows white's moves at once.
    int highlighted = 0;
    for (int s = 0; s < 64; ++s)
        highlighted += game.LegalSquares()[s];
    EXPECT_EQ(highlighted, 6);
    EXPECT_EQ(game.LegalSquares()[21], 1);

    EXPECT_FALSE(game.ClickSquare(27));  // occupied
    EXPECT_EQ(services.Pane(0), "打てませんよ。");
    EXPECT_FALSE(game.ClickSquare(0));  // turns nothing
    EXPECT_TRUE(game.ClickSquare(21));
    EXPECT_EQ(game.State(), FlowState::ApplyMove);
    game.OnTimer();
    EXPECT_EQ(game.CurrentBoard()[21], White);
    EXPECT_EQ(game.SideToMove(), Black);
    EXPECT_EQ(services.Pane(2), "");
}

TEST_F(GameFlowTest, ClicksOutsideAPersonsTurnAreIgnored) {
    GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player);
    EXPECT_FALSE(game.ClickSquare(21));  // stopped
    game.StartGame();
    game.OnTimer();
    EXPECT_FALSE(game.ClickSquare(21));  // the computer's turn
    EXPECT_EQ(services.Pane(0), "白の番です。");
}

TEST_F(GameFlowTest, WholeGamePlaysThroughToTheEndWithCountsAndLog) {
    GameFlow& game = MakeFlow(Cpu1Player, Cpu1Player);
    game.StartGame();
    PlayUntilStopped();
    const StoneCounts counts = CountStones(game.CurrentBoard());
    EXPECT_EQ(services.Pane(0), "終了");
    EXPECT_EQ(services.Pane(1), "黒" + std::to_string(counts[Black]) + "石");
    EXPECT_EQ(services.Pane(2), "白" + std::to_string(counts[White]) + "石");
    const std::string winner = counts[Black] > counts[White] ? "黒の勝ちです。" : "白の勝ちです。";
    EXPECT_EQ(game.ResultText().substr(0, game.ResultText().find('\n') + 1),
              (counts[Black] == counts[White] ? "引き分けです。" : winner) + "黒" +
                  std::to_string(counts[Black]) + "石 白" + std::to_string(counts[White]) + "石\n");
    EXPECT_EQ(game.ResultText().find("どちらも打てません") != std::string::npos, counts[Empty] > 0);
    EXPECT_EQ(
        CountLegalMoves(game.CurrentBoard(), Black) + CountLegalMoves(game.CurrentBoard(), White),
        0);

    // The history replays to the final board, and the final ply holds a colour.
    const GameHistory& h = game.History();
    Board replay = StartPosition();
    for (int m = 1; m <= h.moveCount; ++m) {
        Board next;
        ASSERT_GT(TryMove(replay, next, h.SquareOfMove(m), h.sideAtPly[m - 1]), 1) << m;
        replay = next;
        ASSERT_EQ(replay, h.boardAtPly[m]) << m;
    }
    EXPECT_EQ(replay, game.CurrentBoard());

    EXPECT_EQ(writer.written, (std::vector<std::pair<int, int>>{{GamesPlayedSetting, 1}}));
    EXPECT_EQ(settings[GamesPlayedSetting], 1);
    const std::string log = ReadLog();
    EXPECT_EQ(log.size(), 63u + 3u * h.moveCount + 1u);
    EXPECT_EQ(log.substr(0, 12), "        0 e ");
    EXPECT_EQ(log.back(), '\n');

    game.OnTimer();
    EXPECT_EQ(services.Pane(0), "停止");
    EXPECT_EQ(services.Pane(1), "黒" + std::to_string(counts[Black]) + "石");
}

// Random-move games from fixed seeds until one contains a pass: the pass message stands in the
// passing side's pane, the same side moves again and the history gets no entry for the pass.
TEST_F(GameFlowTest, PassShowsInPassingSidesPaneAndSameSideMovesAgain) {
    std::mt19937 rng(7);
    ThinkFunction randomMove = [&rng](const ThinkRequest& r, ThinkControl&) -> ThinkOutcome {
        LegalMap map;
        const int n = CountLegalMoves(r.board, r.sideToMove, &map);
        if (n == 0) return {ThinkNoMove, -1, {}};
        int pick = static_cast<int>(rng() % n);
        for (int s = 0; s < 64; ++s)
            if (map[s] && pick-- == 0) return {ThinkMoveReady, s, ""};
        return {ThinkNoMove, -1, {}};
    };
    bool sawPass = false;
    for (int game = 0; game < 50 && !sawPass; ++game) {
        services.paneLog.clear();
        GameFlow& flowRef = MakeFlow(Cpu1Player, Cpu1Player, randomMove);
        flowRef.StartGame();
        PlayUntilStopped();
        const GameHistory& h = flowRef.History();
        for (int m = 2; m <= h.moveCount && !sawPass; ++m) {
            if (h.sideAtPly[m - 1] != h.sideAtPly[m - 2]) continue;
            sawPass = true;
            const int passer = 1 - h.sideAtPly[m - 1];
            const std::string expected =
                std::to_string(passer + 1) + ":" + (passer == Black ? "黒" : "白") + "はパスです。";
            EXPECT_NE(std::find(services.paneLog.begin(), services.paneLog.end(), expected),
                      services.paneLog.end());
        }
    }
    EXPECT_TRUE(sawPass);
}

TEST_F(GameFlowTest, GoingBackTwoMovesAndPlayingOnCutsTheHistory) {
    GameFlow& game = MakeFlow(Cpu1Player, Cpu1Player);
    game.StartGame();
    for (int i = 0; i < 200 && game.History().moveCount < 10; ++i) {
        game.OnTimer();
        services.RunWorkers();
    }
    game.PauseGame();
    services.RunWorkers();
    ASSERT_EQ(game.History().moveCount, 10);
    const GameHistory before = game.History();

    EXPECT_FALSE(game.CanGoToNext());
    game.GoToPrevious();
    game.GoToPrevious();
    EXPECT_EQ(game.History().currentPly, 8);
    EXPECT_EQ(game.CurrentBoard(), before.boardAtPly[8]);
    EXPECT_EQ(game.MarkerColumn(), before.moveColumn[9]);  // frames the next recorded move
    EXPECT_EQ(game.History().moveCount, 10);

    game.StartGame();
    game.OnTimer();
    services.RunWorkers();
    game.OnTimer();
    game.OnTimer();
    EXPECT_EQ(game.History().moveCount, 9);
    EXPECT_EQ(game.History().currentPly, 9);
    EXPECT_EQ(game.History().boardAtPly[8], before.boardAtPly[8]);
}

TEST_F(GameFlowTest, NavigationEnableRulesFollowTheState) {
    GameFlow& game = MakeFlow(HumanPlayer, HumanPlayer);
    EXPECT_TRUE(game.CanStartGame());
    EXPECT_FALSE(game.CanPauseGame());
    EXPECT_FALSE(game.CanGoToPrevious());  // ply 0
    EXPECT_FALSE(game.CanGoToNext());      // ply = moveCount
    EXPECT_TRUE(game.CanGoToLast());
    game.StartGame();
    game.OnTimer();
    EXPECT_EQ(game.State(), FlowState::AwaitingMove);
    EXPECT_FALSE(game.CanStartGame());
    EXPECT_FALSE(game.CanGoToFirst());
    EXPECT_TRUE(game.CanPauseGame());
    EXPECT_TRUE(game.CanGoToLast());
    EXPECT_TRUE(game.CanChangePlayers());
    game.ClickSquare(21);
    EXPECT_FALSE(game.CanGoToLast());  // ApplyMove
    EXPECT_FALSE(game.CanChangePlayers());
    game.OnTimer();
    EXPECT_TRUE(game.CanGoToPrevious());
    game.GoToFirst();  // refused: not stopped
    EXPECT_EQ(game.History().currentPly, 1);
    game.GoToLast();  // allowed while awaiting; clears the marker and stops
    EXPECT_EQ(game.MarkerColumn(), -1);
    EXPECT_EQ(game.State(), FlowState::Stopped);
    game.GoToFirst();
    EXPECT_EQ(game.MarkerColumn(), 2);  // the square of move 1, still empty at ply 0
    EXPECT_EQ(game.MarkerRow(), 5);
}

TEST_F(GameFlowTest, PauseDuringThinkDiscardsItsResult) {
    GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player);
    bool sawAbort = false;
    ThinkFunction slow = [&sawAbort](const ThinkRequest& r, ThinkControl& control) {
        sawAbort = control.AbortRequested();
        return FirstLegalMove(r, control);
    };
    MakeFlow(HumanPlayer, Cpu1Player, slow);
    flow->StartGame();
    flow->OnTimer();
    ASSERT_EQ(services.workers.size(), 1u);
    flow->PauseGame();
    EXPECT_EQ(flow->State(), FlowState::Stopped);
    flow->StartGame();
    flow->OnTimer();  // waits for the old think: no second worker yet
    EXPECT_EQ(services.workers.size(), 1u);
    EXPECT_EQ(flow->State(), FlowState::StartTurn);
    services.RunWorkers();  // the superseded think ends, having seen the abort
    EXPECT_TRUE(sawAbort);
    flow->OnTimer();  // now the new think starts
    ASSERT_EQ(services.workers.size(), 1u);
    EXPECT_EQ(flow->History().moveCount, 0);
    services.RunWorkers();
    flow->OnTimer();
    flow->OnTimer();
    EXPECT_EQ(flow->History().moveCount, 1);  // exactly one move applied
    (void)game;
}

// "Play now" reaches only the think of the current turn: that think sees the request, and its
// move is played on the next tick like any other; without a think running it does nothing.
TEST_F(GameFlowTest, PlayNowHurriesTheRunningThinkWhoseMoveIsPlayed) {
    bool sawPlayNow = false, sawAbort = false;
    ThinkFunction think = [&](const ThinkRequest& r, ThinkControl& control) {
        sawPlayNow = control.PlayNowRequested();
        sawAbort = control.AbortRequested();
        return FirstLegalMove(r, control);
    };
    MakeFlow(HumanPlayer, Cpu1Player, think);
    EXPECT_FALSE(flow->CanPlayNow());
    flow->StartGame();
    flow->OnTimer();
    ASSERT_EQ(services.workers.size(), 1u);
    ASSERT_TRUE(flow->CanPlayNow());
    flow->PlayNow();
    services.RunWorkers();
    EXPECT_TRUE(sawPlayNow);
    EXPECT_FALSE(sawAbort);
    EXPECT_FALSE(flow->CanPlayNow());
    flow->OnTimer();
    flow->OnTimer();
    EXPECT_EQ(flow->History().moveCount, 1);
    // The person's turn: nothing to hurry, and the next think starts unhurried.
    flow->PlayNow();
    LegalMap map;
    ASSERT_GT(CountLegalMoves(flow->CurrentBoard(), flow->SideToMove(), &map), 0);
    int square = 0;
    while (!map[square])
        ++square;
    ASSERT_TRUE(flow->ClickSquare(square));
    flow->OnTimer();
    flow->OnTimer();
    services.RunWorkers();
    EXPECT_FALSE(sawPlayNow);
}

TEST_F(GameFlowTest, FailedThinkShowsMessageAndStops) {
    GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player, [](const ThinkRequest&, ThinkControl&) {
        return ThinkOutcome{ThinkNoMove, -1, {}};
    });
    game.StartGame();
    game.OnTimer();
    services.RunWorkers();
    game.OnTimer();
    EXPECT_EQ(services.messages, std::vector<std::string>{"なんかエラー。"});
    EXPECT_EQ(game.State(), FlowState::Stopped);
    EXPECT_EQ(game.History().moveCount, 0);
}

TEST_F(GameFlowTest, ResumingWhereSideToMoveCannotMovePassesToTheOtherSide) {
    // Black to move has no move on this board; white has. After loading it as ply 0 with black
    // to move, play resumes with white and black's pane says it passes.
    Board board;
    board.fill(Empty);
    board[0] = White;
    board[1] = Black;  // white at 0 ... black at 1, empty 2: white can play 2? no, black can't.
    board[9] = Black;
    GameHistory h;
    h.Reset(board, Black);
    ASSERT_EQ(CountLegalMoves(board, Black), 0);
    ASSERT_GT(CountLegalMoves(board, White), 0);
    GameFlow& game = MakeFlow(Cpu1Player, Cpu1Player);
    game.LoadHistory(h);
    game.StartGame();
    game.OnTimer();
    EXPECT_EQ(services.Pane(1), "黒はパスです。");
    EXPECT_EQ(services.Pane(0), "白の番です。");
    EXPECT_EQ(game.SideToMove(), White);
    EXPECT_EQ(game.PassText(), "黒はパスです。");
    services.RunWorkers();
    game.OnTimer();
    EXPECT_EQ(game.PassText(), "黒はパスです。");  // until white has moved
    game.OnTimer();
    EXPECT_EQ(game.History().moveCount, 1);
    EXPECT_EQ(game.History().sideAtPly[0], White);
    // The pass stands until black, who passed, has moved again.
    EXPECT_EQ(game.PassText(), "黒はパスです。");
    const auto blackMoved = [&game] {
        const GameHistory& played = game.History();
        for (int m = 1; m <= played.moveCount; ++m)
            if (played.sideAtPly[m - 1] == Black) return true;
        return false;
    };
    for (int i = 0; i < 200 && !blackMoved() && game.ResultText().empty(); ++i) {
        services.RunWorkers();
        game.OnTimer();
    }
    if (blackMoved()) {
        EXPECT_EQ(game.PassText(), "");
    }
}

TEST_F(GameFlowTest, TrainingModeRestartsFromTheStartPosition) {
    settings[TrainingModeSetting] = 1;
    GameFlow& game = MakeFlow(Cpu1Player, Cpu1Player);
    game.StartGame();
    for (int i = 0; i < 1000 && settings[GamesPlayedSetting] == 0; ++i) {
        game.OnTimer();
        services.RunWorkers();
    }
    ASSERT_EQ(settings[GamesPlayedSetting], 1);
    EXPECT_EQ(game.CurrentBoard(), StartPosition());
    EXPECT_EQ(game.State(), FlowState::StartTurn);
    EXPECT_EQ(game.History().currentPly, 0);
    game.OnTimer();
    EXPECT_EQ(services.Pane(0), "白の番です。");
}

// The final position of a finished game keeps the colour that made the last move, so stepping
// back onto it shows that side to move. Random games until both colours have moved last.
TEST_F(GameFlowTest, FinalPositionKeepsTheLastMoversColour) {
    std::mt19937 rng(11);
    ThinkFunction randomMove = [&rng](const ThinkRequest& r, ThinkControl&) -> ThinkOutcome {
        LegalMap map;
        int pick =
            static_cast<int>(rng() % std::max(1, CountLegalMoves(r.board, r.sideToMove, &map)));
        for (int s = 0; s < 64; ++s)
            if (map[s] && pick-- == 0) return {ThinkMoveReady, s, ""};
        return {ThinkNoMove, -1, {}};
    };
    bool lastMoverSeen[2] = {false, false};
    for (int game = 0; game < 50 && !(lastMoverSeen[Black] && lastMoverSeen[White]); ++game) {
        GameFlow& flowRef = MakeFlow(Cpu1Player, Cpu1Player, randomMove);
        flowRef.StartGame();
        PlayUntilStopped();
        const GameHistory& h = flowRef.History();
        const int lastMover = h.sideAtPly[h.moveCount - 1];
        lastMoverSeen[lastMover] = true;
        EXPECT_EQ(flowRef.SideToMove(), lastMover);
        flowRef.GoToFirst();
        flowRef.GoToLast();
        EXPECT_EQ(flowRef.SideToMove(), lastMover) << "game " << game;
    }
    EXPECT_TRUE(lastMoverSeen[Black] && lastMoverSeen[White]);
}

// The training pass runs inside a tick; a tick that arrives meanwhile (through a nested event
// loop) returns at once instead of applying the final move a second time.
TEST_F(GameFlowTest, TickDuringTheTrainingPassReturnsAtOnce) {
    struct NestedTicks : GameLearner {
        GameFlow* flow = nullptr;
        int trained = 0;
        int TrainingGameCount() const override { return 0; }
        void Train(const GameRecord&) override {
            if (++trained == 1) flow->OnTimer();
        }
    } learner;
    settings[TrainingModeSetting] = 1;
    learner.flow = &MakeFlow(Cpu1Player, Cpu1Player, FirstLegalMove, &learner);
    flow->StartGame();
    for (int i = 0; i < 1000 && learner.trained == 0; ++i) {
        flow->OnTimer();
        services.RunWorkers();
    }
    EXPECT_EQ(learner.trained, 1);
    EXPECT_EQ(settings[GamesPlayedSetting], 1);
    const std::string log = ReadLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
}

// The players dialog makes white a person while white's think runs, and the person moves at
// once: that think is superseded, the move is played at once, and the think's result is never
// played.
TEST_F(GameFlowTest, ClickDuringASupersededThinkPlaysAtOnceAndDropsItsResult) {
    GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player);
    game.StartGame();
    game.OnTimer();
    ASSERT_EQ(services.workers.size(), 1u);
    settings[WhitePlayerSetting] = HumanPlayer;
    ASSERT_TRUE(game.ClickSquare(21));
    game.OnTimer();
    // The old think reads its own copies: the move does not wait for it.
    EXPECT_EQ(game.History().moveCount, 1);
    services.RunWorkers();
    for (int i = 0; i < 3; ++i)
        game.OnTimer();
    EXPECT_EQ(game.History().moveCount, 1);
    EXPECT_EQ(game.CurrentBoard()[21], White);
    EXPECT_EQ(game.SideToMove(), Black);
    EXPECT_EQ(game.State(), FlowState::AwaitingMove);
    EXPECT_TRUE(services.messages.empty());
}

// A think paused and then finished is not played later, when the same side is a person's.
TEST_F(GameFlowTest, PausedThinkIsNotPlayedForAPersonLater) {
    GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player);
    game.StartGame();
    game.OnTimer();
    game.PauseGame();
    settings[WhitePlayerSetting] = HumanPlayer;
    game.StartGame();
    game.OnTimer();  // waits for the old think to end
    services.RunWorkers();
    for (int i = 0; i < 3; ++i)
        game.OnTimer();
    EXPECT_EQ(game.History().moveCount, 0);
    EXPECT_EQ(game.State(), FlowState::AwaitingMove);
    EXPECT_EQ(services.Pane(2), "打ってください。");
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(GameFlowTest, PauseOnAPersonsTurnClearsThePromptAndRepaints) {
    GameFlow& game = MakeFlow(HumanPlayer, HumanPlayer);
    game.StartGame();
    game.OnTimer();
    ASSERT_EQ(services.Pane(2), "打ってください。");
    services.repaints = 0;
    game.PauseGame();
    EXPECT_EQ(services.Pane(2), "");
    EXPECT_GE(services.repaints, 1);
}

// While the computers play the flow passes through ApplyMove for a tick per move. A command
// given then runs at the end of the next tick, and the shown enable state does not flicker.
TEST_F(GameFlowTest, CommandGivenWhileSettlingRunsAtTheNextTick) {
    GameFlow& game = MakeFlow(Cpu1Player, Cpu1Player);
    game.StartGame();
    for (int i = 0; i < 20 && game.History().moveCount < 2; ++i) {
        game.OnTimer();
        services.RunWorkers();
        const bool movePending = game.State() == FlowState::ApplyMove;
        EXPECT_EQ(game.Accepts(FlowCommand::GoToPrevious),
                  game.History().currentPly > 0 || movePending);
        EXPECT_TRUE(game.Accepts(FlowCommand::ChangePlayers));
        EXPECT_FALSE(game.Accepts(FlowCommand::StartGame));
    }
    game.OnTimer();
    ASSERT_EQ(game.State(), FlowState::ApplyMove);
    EXPECT_FALSE(game.Give(FlowCommand::ChangePlayers));
    EXPECT_FALSE(game.Give(FlowCommand::GoToPrevious));  // the later one is kept
    EXPECT_FALSE(game.TakePlayersDue());
    game.OnTimer();  // applies move 3, then goes back to ply 2 and stops
    EXPECT_EQ(game.History().moveCount, 3);
    EXPECT_EQ(game.History().currentPly, 2);
    EXPECT_EQ(game.State(), FlowState::Stopped);

    game.StartGame();  // the superseded think ends first, then the next one
    for (int i = 0; i < 5 && game.State() != FlowState::ApplyMove; ++i) {
        game.OnTimer();
        services.RunWorkers();
    }
    ASSERT_EQ(game.State(), FlowState::ApplyMove);
    game.Give(FlowCommand::ChangePlayers);
    game.OnTimer();
    EXPECT_TRUE(game.TakePlayersDue());  // the window opens the dialog now, once
    EXPECT_FALSE(game.TakePlayersDue());
}

// Starting a finished game, whoever moved last, begins a new game from the start position.
TEST_F(GameFlowTest, StartOnAFinishedGameBeginsANewOne) {
    for (int next : {Cpu1Player, HumanPlayer}) {
        GameFlow& game = MakeFlow(Cpu1Player, Cpu1Player);
        game.StartGame();
        PlayUntilStopped();
        ASSERT_FALSE(game.ResultText().empty());
        settings[BlackPlayerSetting] = settings[WhitePlayerSetting] = next;
        services.messages.clear();
        game.StartGame();
        EXPECT_EQ(game.CurrentBoard(), StartPosition());
        EXPECT_EQ(game.History().moveCount, 0);
        EXPECT_EQ(game.ResultText(), "");
        game.OnTimer();
        EXPECT_EQ(services.Pane(0), "白の番です。");
        EXPECT_EQ(game.State(), FlowState::AwaitingMove);
        if (next == HumanPlayer) {
            EXPECT_TRUE(game.ClickSquare(21));
        }
        EXPECT_TRUE(services.messages.empty());
    }
}

TEST_F(GameFlowTest, NewGameDropsTheRunningThinkAndStartsFromTheStart) {
    GameFlow& game = MakeFlow(Cpu1Player, Cpu1Player);
    game.StartGame();
    for (int i = 0; i < 20 && game.History().moveCount < 4; ++i) {
        services.RunWorkers();
        game.OnTimer();
    }
    ASSERT_EQ(services.workers.size(), 1u);  // the think about move 5 runs
    EXPECT_TRUE(game.Give(FlowCommand::NewGame));
    EXPECT_EQ(game.CurrentBoard(), StartPosition());
    EXPECT_EQ(game.History().moveCount, 0);
    game.OnTimer();         // waits for the old think
    services.RunWorkers();  // it ends; its move is never played
    game.OnTimer();
    game.OnTimer();
    EXPECT_EQ(game.History().moveCount, 0);
    services.RunWorkers();
    game.OnTimer();
    game.OnTimer();
    EXPECT_EQ(game.History().moveCount, 1);
    EXPECT_EQ(game.History().SquareOfMove(1), 19);
}

// Take-back goes to the person's previous turn and cuts the history there; a think running at
// that moment is dropped.
TEST_F(GameFlowTest, TakeBackReturnsToThePersonsPreviousTurnAndCutsTheHistory) {
    GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player);
    game.StartGame();
    for (int i = 0; i < 50 && game.History().moveCount < 6; ++i) {
        services.RunWorkers();
        game.OnTimer();
        if (game.State() == FlowState::AwaitingMove && game.SideToMove() == Black) {
            FakeControl control;
            const ThinkRequest request{game.CurrentBoard(), Black, settings};
            ASSERT_TRUE(game.ClickSquare(FirstLegalMove(request, control).square));
        }
    }
    game.OnTimer();  // applies black's move 6; white, the computer, starts thinking
    ASSERT_EQ(game.SideToMove(), White);
    ASSERT_EQ(services.workers.size(), 1u);
    const GameHistory before = game.History();
    ASSERT_EQ(before.moveCount, 6);
    EXPECT_TRUE(game.CanTakeBack());
    game.TakeBack();  // back to black's turn before move 6
    EXPECT_EQ(game.History().moveCount, 5);
    EXPECT_EQ(game.CurrentBoard(), before.boardAtPly[5]);
    EXPECT_EQ(game.SideToMove(), Black);
    services.RunWorkers();
    game.OnTimer();
    game.OnTimer();
    EXPECT_EQ(game.History().moveCount, 5);  // the dropped think played nothing
    EXPECT_EQ(game.State(), FlowState::AwaitingMove);
    EXPECT_EQ(services.Pane(1), "打ってください。");

    game.TakeBack();  // from black's turn: white's reply and black's move go
    EXPECT_EQ(game.History().moveCount, 3);
    EXPECT_EQ(game.SideToMove(), Black);
    EXPECT_EQ(game.MarkerColumn() * 8 + game.MarkerRow(), before.SquareOfMove(3));
}

TEST_F(GameFlowTest, LongThinkShowsTheSecondsOncePerSecond) {
    GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player);
    game.StartGame();
    game.OnTimer();
    for (int i = 0; i < 9; ++i)
        game.OnTimer();
    EXPECT_EQ(services.Pane(2), "思考中です");
    game.OnTimer();
    EXPECT_EQ(services.Pane(2), "思考中です（1秒）");
    for (int i = 0; i < 10; ++i)
        game.OnTimer();
    EXPECT_EQ(services.Pane(2), "思考中です（2秒）");
    services.RunWorkers();
    game.OnTimer();
    game.OnTimer();
    EXPECT_EQ(services.Pane(2), "first");  // the verdict replaces it
}

// The players dialog turns the side to move from a person into a computer during its turn:
// the turn starts again at the next tick and the computer thinks.
TEST_F(GameFlowTest, PlayerTypeChangedMidTurnStartsTheTurnAgain) {
    GameFlow& game = MakeFlow(HumanPlayer, HumanPlayer);
    game.StartGame();
    game.OnTimer();
    settings[WhitePlayerSetting] = Cpu1Player;
    game.OnTimer();
    EXPECT_EQ(services.Pane(2), "思考中です");
    ASSERT_EQ(services.workers.size(), 1u);
    services.RunWorkers();
    game.OnTimer();
    game.OnTimer();
    EXPECT_EQ(game.History().moveCount, 1);
}

TEST_F(GameFlowTest, GamesPlayedAtTheLargestIntStaysThere) {
    settings[GamesPlayedSetting] = INT_MAX;
    MakeFlow(Cpu1Player, Cpu1Player).StartGame();
    PlayUntilStopped();
    EXPECT_EQ(settings[GamesPlayedSetting], INT_MAX);
    EXPECT_EQ(writer.written, (std::vector<std::pair<int, int>>{{GamesPlayedSetting, INT_MAX}}));
}

#ifdef __unix__
// A full disk (here a file size limit) lets only part of the log line through: the file is cut
// back to its previous length, and the failure is reported once, not at every game.
TEST_F(GameFlowTest, LogLineIsWrittenWholeOrNotAtAllAndAFailureReportedOnce) {
    const std::string earlier(100, 'x');
    std::ofstream(dir / "vellkif.txt") << earlier;
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 130;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    MakeFlow(Cpu1Player, Cpu1Player);
    for (int game = 0; game < 2; ++game) {
        flow->StartGame();
        PlayUntilStopped();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(ReadLog(), earlier);
    EXPECT_EQ(services.messages, std::vector<std::string>{"vellkif.txt に書き込めませんでした。"});
    EXPECT_EQ(settings[GamesPlayedSetting], 2);  // the end of the game went on
}
#endif

TEST_F(GameFlowTest, ThinksOnRealThreadsHandOverTheirResult) {
    MakeFlow(Cpu1Player, Cpu1Player);
    struct ThreadServices : FakeServices {
        void StartWorker(std::function<void()> body) override {
            threads.emplace_back(std::move(body));
        }
        ~ThreadServices() override {
            for (auto& t : threads)
                t.join();
        }
        std::vector<std::thread> threads;
    } threaded;
    {
        GameFlow game(threaded, settings, writer, FirstLegalMove, nullptr, dir);
        game.StartGame();
        // Only a guard against a hang: the game normally ends within milliseconds.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        for (int i = 0; game.State() != FlowState::Stopped; ++i) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline);
            game.OnTimer();
            if (i % 7 == 3 && game.History().moveCount < 20) {  // pause and resume mid-think
                game.PauseGame();
                game.StartGame();
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        EXPECT_EQ(game.State(), FlowState::Stopped);
        EXPECT_EQ(CountLegalMoves(game.CurrentBoard(), Black) +
                      CountLegalMoves(game.CurrentBoard(), White),
                  0);
    }
}

}  // namespace
}  // namespace vell

namespace vell {
namespace {

// A think answering with a square the side to move cannot play is never played, whatever the
// square: the flow says so once and stops with the board as it was.
TEST_F(GameFlowTest, ThinkAnsweringAnUnplayableSquareStopsWithoutPlaying) {
    const struct {
        const char* label;
        int square;
    } rows[] = {{"occupied", 27}, {"empty but illegal", 0}, {"off the board", 64}, {"none", -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        services.messages.clear();
        GameFlow& game = MakeFlow(HumanPlayer, Cpu1Player,
                                  [square = row.square](const ThinkRequest&, ThinkControl&) {
                                      return ThinkOutcome{ThinkMoveReady, square, "bad"};
                                  });
        game.StartGame();
        game.OnTimer();
        services.RunWorkers();
        game.OnTimer();
        game.OnTimer();
        EXPECT_EQ(services.messages, std::vector<std::string>{"なんかエラー。"});
        EXPECT_EQ(game.State(), FlowState::Stopped);
        EXPECT_EQ(game.History().moveCount, 0);
        EXPECT_EQ(game.CurrentBoard(), StartPosition());
    }
}

// Take-back from ply 2 goes back to the person's previous turn, even at the very start of the
// game, or one move with no person playing.
TEST_F(GameFlowTest, TakeBackFindsThePersonsTurnFirstSecondOrNone) {
    const struct {
        const char* label;
        int black, white;
        int ply, side;  // where the take-back lands
    } rows[] = {{"person first", Cpu1Player, HumanPlayer, 0, White},
                {"person second", HumanPlayer, Cpu1Player, 1, Black},
                {"no person", Cpu1Player, Cpu1Player, 1, Black}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        GameFlow& game = MakeFlow(row.black, row.white);
        game.StartGame();
        for (int i = 0; i < 50 && game.History().moveCount < 2; ++i) {
            services.RunWorkers();
            game.OnTimer();
            const int side = game.SideToMove();
            if (game.History().moveCount < 2 && game.State() == FlowState::AwaitingMove &&
                game.PlayerOf(side) == HumanPlayer) {
                FakeControl control;
                const ThinkRequest request{game.CurrentBoard(), side, settings};
                ASSERT_TRUE(game.ClickSquare(FirstLegalMove(request, control).square));
            }
        }
        ASSERT_EQ(game.History().moveCount, 2);
        game.TakeBack();
        EXPECT_EQ(game.History().moveCount, row.ply);
        EXPECT_EQ(game.SideToMove(), row.side);
        EXPECT_EQ(game.CurrentBoard(), game.History().boardAtPly[row.ply]);
    }
}

}  // namespace
}  // namespace vell
