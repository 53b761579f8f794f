#include "engine/hint_runner.h"

#include <gtest/gtest.h>

#include "core/game_flow.h"
#include "tests/core/fake_services.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

using testing::FakeServices;

// A person (white) to move at the start; the hint's think answers `square`.
class HintRunnerTest : public ::testing::Test {
  protected:
    void Start(int square) {
        settings[WhitePlayerSetting] = HumanPlayer;
        settings[BlackPlayerSetting] = HumanPlayer;
        answer = square;
        flow = std::make_unique<GameFlow>(services, settings, writer, testing::FirstLegalMove,
                                          nullptr, dir.Path());
        hint = std::make_unique<HintRunner>(
            [this](const ThinkRequest&, ThinkControl&) {
                return ThinkOutcome{ThinkMoveReady, answer, "verdict"};
            },
            [this](std::function<void()> body) { services.StartWorker(std::move(body)); });
        flow->StartGame();
        flow->OnTimer();
        ASSERT_TRUE(hint->Start(*flow));
        EXPECT_TRUE(hint->Thinking());
    }
    ~HintRunnerTest() override {
        services.RunWorkers();
        hint.reset();
        flow.reset();
    }

    test::TempDir dir;
    FakeServices services;
    testing::MemorySettingsWriter writer;
    Settings settings = DefaultSettings;
    int answer = -1;
    std::unique_ptr<GameFlow> flow;
    std::unique_ptr<HintRunner> hint;
};

// Only a legal move of the person is suggested; any other answer gives the verdict alone.
TEST_F(HintRunnerTest, SuggestsOnlyALegalMoveOfThePerson) {
    const struct {
        const char* label;
        int square, suggested;
    } rows[] = {{"legal", 19, 19},
                {"occupied", 27, -1},
                {"empty but illegal", 0, -1},
                {"off the board", 64, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        Start(row.square);
        services.RunWorkers();
        const std::optional<HintResult> result = hint->Update(*flow);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->side, White);
        EXPECT_EQ(result->square, row.suggested);
        EXPECT_EQ(result->verdict, "verdict");
        EXPECT_EQ(hint->SuggestedSquare(), row.suggested);
        EXPECT_FALSE(hint->Update(*flow));  // handed over once
    }
}

// A move made while the hint thinks drops it: its answer never reaches the next turn.
TEST_F(HintRunnerTest, MoveWhileThinkingDropsTheHint) {
    Start(19);
    ASSERT_TRUE(flow->ClickSquare(19));
    flow->OnTimer();
    EXPECT_FALSE(hint->Update(*flow));
    EXPECT_FALSE(hint->Thinking());
    services.RunWorkers();
    EXPECT_FALSE(hint->Update(*flow));
    EXPECT_EQ(hint->SuggestedSquare(), -1);
}

}  // namespace
}  // namespace vell
