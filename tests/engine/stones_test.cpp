#include "engine/stones.h"

#include <gtest/gtest.h>

#include "core/board.h"
#include "engine/review_text.h"

namespace vell {
namespace {

TEST(Stones, TextRoundsClampsAndSigns) {
    struct Row {
        const char* label;
        int value;
        const char* text;
    };
    const Row rows[] = {
        {"zero", 0, "0.0"},
        {"rounds to zero", -49, "0.0"},
        {"half rounds away from zero", 50, "+0.1"},
        {"negative half", -2150, "-2.2"},
        {"whole stones keep the decimal", 4000, "+4.0"},
        {"the board's margin", 64000, "+64.0"},
        {"past the board clamps", 128000, "+64.0"},
        {"far past clamps below", -2174000, "-64.0"},
        {"int extremes", -2147483647 - 1, "-64.0"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(StonesText(row.value), row.text) << row.label;
    EXPECT_EQ(LossStonesText(6150), "6.2");
    EXPECT_EQ(LossStonesText(200000), "64.0");
    // A white mover's +3.5 is black's -3.5.
    EXPECT_EQ(StonesText(BlackView(3500, White)), "-3.5");
    EXPECT_EQ(StonesText(BlackView(3500, Black)), "+3.5");
}

TEST(Stones, HintReadsTheThinksMessage) {
    EXPECT_EQ(HintText(45, "3500互角です。"), "f6 +3.5石");
    EXPECT_EQ(HintText(19, "-2174互角です。"), "c4 -2.2石");
    EXPECT_EQ(HintText(0, "128000とっても有利です。"), "a1 +64.0石");
    EXPECT_EQ(HintText(63, "BOOK最善手です:-800"), "h8 -0.8石");
    EXPECT_EQ(HintText(9, "普通読みです……"), "b2");
    EXPECT_EQ(HintText(9, ""), "b2");
}

TEST(ReviewText, LinesSummaryAndTooltipUseStonesAndSquareNames) {
    GameReview review;
    auto add = [&](int side, int played, int playedValue, int best, int bestValue) {
        MoveReview move;
        move.moveNumber = static_cast<int>(review.moves.size()) + 1;
        move.side = side;
        move.played = played;
        move.playedValue = playedValue;
        move.best = best;
        move.bestValue = bestValue;
        move.loss = bestValue - playedValue;
        move.mark = MarkOfLoss(move.loss);
        review.moves.push_back(move);
    };
    add(White, 34, -3500, 45, 2700);     // 6.2 stones lost: "?"
    add(Black, 20, 136000, 20, 136000);  // an engine value past the board
    add(White, 43, 0, 43, 2500);         // "?!"
    add(White, 42, -20000, 11, -9000);   // "??"
    add(White, 12, 100, 13, 100);        // no loss: never among the worst

    EXPECT_EQ(ReviewLineText(review.moves[0]), "  1 白 e3     -3.5  f6     +2.7    6.2 ?");
    EXPECT_EQ(ReviewLineText(review.moves[1]), "  2 黒 c5    +64.0  c5    +64.0    0.0");
    EXPECT_EQ(ReviewMoveText(review.moves[0]), "1. e3 白 ?  損失 6.2石  最善 f6");
    EXPECT_EQ(
        SideSummaryText(review, White),
        "白 平均損失 4.9石　?! 1　? 1　?? 1　大きな損失 4. f3 11.0石、1. e3 6.2石、3. f4 2.5石");
    EXPECT_EQ(SideSummaryText(review, Black), "黒 平均損失 0.0石　?! 0　? 0　?? 0");
}

}  // namespace
}  // namespace vell
