#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "book/book.h"
#include "core/game_flow.h"
#include "core/player_names.h"
#include "engine/think_driver.h"
#include "tests/engine/recording_control.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

// The window's services with real worker threads: pane texts arrive from the workers too.
class ThreadedServices : public FlowServices {
  public:
    ~ThreadedServices() override { JoinWorkers(); }
    void ShowPaneText(int pane, const std::string& text) override {
        std::lock_guard lock(mutex);
        panes[pane] = text;
        paneLog.emplace_back(pane, text);
    }
    void StartWorker(std::function<void()> body) override { workers.emplace_back(std::move(body)); }
    void RequestRepaint() override {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    void JoinWorkers() {
        for (auto& w : workers)
            w.join();
        workers.clear();
    }

    std::mutex mutex;
    std::map<int, std::string> panes;
    std::vector<std::pair<int, std::string>> paneLog;
    std::vector<std::string> messages;

  private:
    std::vector<std::thread> workers;
};

class NoWriter : public SettingsWriter {
  public:
    void WriteSetting(int, int) override {}
};

// "CPU-1" against "CPU-1" through the game flow, tick by tick, to the end of the game: every
// move is the one the think chooses for that position, the panes carry the think's messages
// and the final counts. Small depths keep it quick in sanitizer builds.
TEST(ComputerGame, Cpu1AgainstCpu1PlaysToTheEnd) {
    test::TempDir dir;
    Book book;
    ASSERT_TRUE(book.Load(dir.Path() / "book.dat").ok);
    Weights weights;
    Settings settings = DefaultSettings;
    settings[BlackPlayerSetting] = Cpu1Player;
    settings[WhitePlayerSetting] = Cpu1Player;
    settings[NormalDepthSetting] = 3;
    settings[FinalDepthSetting] = 6;
    ThreadedServices services;
    NoWriter writer;
    GameFlow flow(services, settings, writer, MakeThink(book, weights), nullptr, dir.Path());

    ASSERT_TRUE(flow.CanStartGame());
    flow.StartGame();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    do {
        flow.OnTimer();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the game did not end";
    } while (flow.State() != FlowState::Stopped || flow.ThinkRunning());
    services.JoinWorkers();

    EXPECT_TRUE(services.messages.empty());
    const StoneCounts counts = CountStones(flow.CurrentBoard());
    EXPECT_EQ(services.panes[0], "終了");
    EXPECT_EQ(services.panes[1], "黒" + std::to_string(counts[Black]) + "石");
    EXPECT_EQ(services.panes[2], "白" + std::to_string(counts[White]) + "石");
    EXPECT_EQ(CountLegalMoves(flow.CurrentBoard(), Black), 0);
    EXPECT_EQ(CountLegalMoves(flow.CurrentBoard(), White), 0);

    const GameHistory& history = flow.History();
    ASSERT_GT(history.moveCount, 20);
    for (int m = 1; m <= history.moveCount; ++m) {
        testing::RecordingControl control;
        const ThinkReport report =
            ThinkThread(ThinkRequest{history.boardAtPly[m - 1], history.sideAtPly[m - 1], settings},
                        control, book, weights.table);
        ASSERT_EQ(report.outcome.result, ThinkMoveReady) << m;
        EXPECT_EQ(report.outcome.square, history.SquareOfMove(m)) << "move " << m;
    }

    int bookPhases = 0, searches = 0, verdicts = 0;
    for (const auto& [pane, text] : services.paneLog) {
        bookPhases += text == "普通読みです……";
        searches += text == "NOBOOK普通読みです……";
        verdicts += pane > 0 && text.find("です。") != std::string::npos &&
                    (text[0] == '-' || (text[0] >= '0' && text[0] <= '9'));
    }
    EXPECT_GT(bookPhases, 0);  // the book phase, empty book: the search decides
    EXPECT_GT(searches, 0);
    EXPECT_EQ(verdicts, history.moveCount);  // shown in the mover's pane with each move

    std::ifstream log(dir.Path() / "vellkif.txt");
    std::string line;
    EXPECT_TRUE(std::getline(log, line));
}

}  // namespace
}  // namespace vell
