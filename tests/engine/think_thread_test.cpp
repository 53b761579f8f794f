#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "book/book.h"
#include "core/player_names.h"
#include "engine/think_driver.h"
#include "learning/pattern_eval.h"
#include "tests/engine/recording_control.h"
#include "tests/support/temp_dir.h"
#include "tests/engine/test_positions.h"

namespace vell {
namespace {

using testing::RecordingControl;

// Several thinks at once, sharing the book and the weights, each get what a think alone gets:
// every working value belongs to its own run.
TEST(ThinkThreads, ConcurrentThinksMatchThinksAlone) {
    test::TempDir dir;
    Book book;
    ASSERT_TRUE(book.Load(dir.Path() / "book.dat").ok);
    Board bookChild = StartPosition();
    PlayMove(bookChild, 20, Black);
    book.AddGame(bookChild, 6);
    Weights weights;
    weights.table = testing::RandomWeights(21);
    InitPatterns();
    const ThinkFunction think = MakeThink(book, weights);

    std::vector<ThinkRequest> requests;
    const auto positions = testing::RandomGamePositions(77, 3, 8);
    for (std::size_t i = 0; i < positions.size(); i += 9) {
        Settings settings = DefaultSettings;
        settings[NormalDepthSetting] = 3;
        settings[FinalDepthSetting] = 8;
        settings[positions[i].side] = 1 + static_cast<int>(i / 9) % 4;
        requests.push_back({positions[i].board, positions[i].side, settings});
    }
    requests.push_back({StartPosition(), Black, {Cpu1Player, Cpu1Player, 0, 3, 8}});

    std::vector<ThinkOutcome> alone;
    for (const auto& request : requests) {
        RecordingControl control;
        alone.push_back(think(request, control));
    }

    constexpr int Threads = 4;
    std::vector<std::vector<ThinkOutcome>> together(Threads,
                                                    std::vector<ThinkOutcome>(requests.size()));
    std::vector<std::thread> workers;
    for (int t = 0; t < Threads; ++t) {
        workers.emplace_back([&, t] {
            for (std::size_t i = 0; i < requests.size(); ++i) {
                // Each thread walks the requests from a different start.
                const std::size_t k = (i + t * 3) % requests.size();
                RecordingControl control;
                together[t][k] = think(requests[k], control);
            }
        });
    }
    for (auto& w : workers)
        w.join();
    for (int t = 0; t < Threads; ++t) {
        for (std::size_t k = 0; k < requests.size(); ++k) {
            EXPECT_EQ(together[t][k].result, alone[k].result) << t << " " << k;
            EXPECT_EQ(together[t][k].square, alone[k].square) << t << " " << k;
            EXPECT_EQ(together[t][k].message, alone[k].message) << t << " " << k;
        }
    }
    EXPECT_EQ(alone.back().message, "BOOK最善手です:6000");
}

// A stop request from another thread ends even a search that would take ages (depth 20 from
// the middle of the game) with ThinkAborted. The wait limit only guards against a hang.
TEST(ThinkThreads, StopRequestFromAnotherThreadEndsALongSearch) {
    Book book;
    Weights weights;
    const ThinkFunction think = MakeThink(book, weights);
    Board board;
    ASSERT_TRUE(
        BoardFromText("----x-x-----o-x----oxxx----ooo-x---ox-xx----xxo--------o--------", board));
    Settings settings = DefaultSettings;
    settings[NormalDepthSetting] = 20;
    RecordingControl control;
    auto outcome = std::async(std::launch::async, [&] {
        return think(ThinkRequest{board, White, settings}, control);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    control.abort = true;
    ASSERT_EQ(outcome.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_EQ(outcome.get().result, ThinkAborted);
}

}  // namespace
}  // namespace vell
