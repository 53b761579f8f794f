#include "engine/engine_data.h"

#include <latch>
#include <random>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/history.h"
#include "core/player_names.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"
#include "tests/core/fake_services.h"
#include "tests/support/random_play.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

Weights DrawnWeights(unsigned seed) {
    Weights weights;
    std::mt19937 random(seed);
    for (auto& w : weights.table)
        w = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-200, 200)(random));
    weights.header.trainingGames = static_cast<std::int32_t>(seed);
    return weights;
}

// A think, a hint's think and a review run on their own threads while the owner's thread adopts
// trained weights, trains on a game (adding to the book) and saves: each piece of work reads
// the snapshot it started with, so ThreadSanitizer sees no race and every piece ends normally.
TEST(EngineData, AdoptAndTrainWhileAThinkAHintAndAReviewRun) {
    InitPatterns();
    test::TempDir dir;
    EngineData data(dir.Path(), [](const std::string&) {});
    ASSERT_TRUE(data.WorkingBook().Load(dir / "book.dat").ok);
    data.WorkingWeights() = DrawnWeights(7);
    data.Publish();
    ASSERT_TRUE(WriteWeightFile(dir / "weight2.dat", DrawnWeights(9)).ok);

    std::mt19937 random(3);
    const GameHistory game = test::RandomGame(random);
    ThinkRequest request;
    request.board = game.boardAtPly[20];
    request.sideToMove = game.sideAtPly[20];
    request.settings[BlackPlayerSetting] = request.settings[WhitePlayerSetting] = CpuPat2Player;
    request.settings[NormalDepthSetting] = 9;
    ThinkRequest hint = request;
    hint.settings[request.sideToMove] = CpuPat1Player;
    GameHistory reviewed = game;
    reviewed.moveCount = 24;

    const ThinkFunction think = data.Think();
    const ReviewFunction review = data.Review();
    std::latch started(3);
    ThinkOutcome thinkOutcome, hintOutcome;
    GameReview reviewResult;
    std::vector<std::thread> workers;
    workers.emplace_back([&] {
        testing::FakeControl control;
        started.count_down();
        thinkOutcome = think(request, control);
    });
    workers.emplace_back([&] {
        testing::FakeControl control;
        started.count_down();
        hintOutcome = think(hint, control);
    });
    workers.emplace_back([&] {
        ReviewOptions options;
        options.normalDepth = 5;
        options.finalDepth = 6;
        started.count_down();
        reviewResult = review(reviewed, options, nullptr, {});
    });
    started.wait();
    const AdoptResult adopted = data.Adopt();
    data.Training().Train(MakeGameRecord(game, game.boardAtPly[game.moveCount]));
    for (auto& worker : workers)
        worker.join();

    EXPECT_TRUE(adopted.ok) << adopted.message;
    EXPECT_EQ(thinkOutcome.result, ThinkMoveReady);
    EXPECT_EQ(hintOutcome.result, ThinkMoveReady);
    EXPECT_EQ(reviewResult.status, ReviewStatus::Done);
    // The next piece of work reads what was adopted and trained: 9 games, then one more.
    EXPECT_EQ(data.WeightsInUse()->header.trainingGames, 10);
    EXPECT_GT(data.BookInUse()->Count(), 0);
}

}  // namespace
}  // namespace vell
