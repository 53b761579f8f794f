#include "engine/game_review.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "book/book.h"
#include "core/player_names.h"
#include "engine/search.h"
#include "engine/think_driver.h"
#include "tests/engine/recording_control.h"
#include "tests/engine/test_positions.h"

namespace vell {
namespace {

using testing::FromText;

// A history of one position and the move played from it.
GameHistory OneMove(const Board& board, int side, int square) {
    GameHistory history;
    history.Reset(board, side);
    history.moveColumn[1] = square / 8;
    history.moveRow[1] = square % 8;
    TryMove(board, history.boardAtPly[1], square, side);
    history.sideAtPly[1] = 1 - side;
    history.moveCount = 1;
    return history;
}

Board SwapColours(Board board) {
    for (auto& square : board)
        if (square != Empty) square = static_cast<std::int8_t>(1 - square);
    return board;
}

// A whole game played by the think without a book, black and white with their own player
// types, passes settled as the game flow settles them; `verdicts[m]` is the think's text for
// move m.
GameHistory ThinkPlayedGame(const Settings& settings, const WeightTable& weights,
                            std::vector<std::string>& verdicts) {
    const Book book;
    testing::RecordingControl control;
    GameHistory history;
    Board board = StartPosition();
    int side = White;
    history.Reset(board, side);
    for (int m = 1;; ++m) {
        if (CountLegalMoves(board, side) == 0) {
            if (CountLegalMoves(board, 1 - side) == 0) break;
            side = 1 - side;
        }
        history.sideAtPly[m - 1] = side;
        const ThinkReport report =
            ThinkThread(ThinkRequest{board, side, settings}, control, book, weights);
        EXPECT_EQ(report.outcome.result, ThinkMoveReady);
        const int square = report.outcome.square;
        verdicts.resize(m + 1);
        verdicts[m] = report.outcome.message;
        PlayMove(board, square, side);
        history.moveColumn[m] = square / 8;
        history.moveRow[m] = square % 8;
        history.boardAtPly[m] = board;
        history.moveCount = m;
        side = 1 - side;
    }
    return history;
}

// The think's own choice is the best move of every position, its verdict the best value, and
// no move loses: at a normal depth of 1 (children at the horizon) and of 3, with reads to the end
// from 14 and 16 empties, for a pattern player against the formula.
TEST(GameReview, GameThinkPlayedLosesNothing) {
    const WeightTable weights = testing::RandomWeights(11);
    for (const auto& [normal, finalDepth] : {std::pair{1, 14}, std::pair{3, 16}}) {
        SCOPED_TRACE("depths " + std::to_string(normal) + "/" + std::to_string(finalDepth));
        Settings settings = DefaultSettings;
        settings[BlackPlayerSetting] = CpuPat2Player;
        settings[WhitePlayerSetting] = Cpu1Player;
        settings[NormalDepthSetting] = normal;
        settings[FinalDepthSetting] = finalDepth;
        std::vector<std::string> verdicts;
        const GameHistory game = ThinkPlayedGame(settings, weights, verdicts);
        ASSERT_GT(game.moveCount, 40);

        ReviewOptions options{{CpuPat2Player, Cpu1Player}, normal, finalDepth};
        int calls = 0;
        const GameReview review = ReviewGame(game, options, weights, PlainRootSearch(), nullptr,
                                             [&](int reviewed, int total) {
                                                 EXPECT_EQ(reviewed, ++calls);
                                                 EXPECT_EQ(total, game.moveCount);
                                             });
        ASSERT_EQ(review.status, ReviewStatus::Done);
        ASSERT_EQ(static_cast<int>(review.moves.size()), game.moveCount);
        EXPECT_EQ(calls, game.moveCount);
        for (const MoveReview& move : review.moves) {
            SCOPED_TRACE("move " + std::to_string(move.moveNumber));
            EXPECT_EQ(move.side, game.sideAtPly[move.moveNumber - 1]);
            EXPECT_EQ(move.best, move.played);
            EXPECT_EQ(move.playedValue, move.bestValue);
            EXPECT_EQ(move.loss, 0);
            EXPECT_EQ(VerdictText(move.bestValue), verdicts[move.moveNumber]);
        }
        EXPECT_EQ(review.sides[Black].moves + review.sides[White].moves, game.moveCount);
        EXPECT_EQ(review.sides[Black].AverageLoss() + review.sides[White].AverageLoss(), 0);

        // The fast search gives every legal move of every position the plain search's value.
        const GameReview fast = ReviewGame(game, options, weights, FastRootSearch(1 << 20));
        ASSERT_EQ(fast.status, ReviewStatus::Done);
        ASSERT_EQ(fast.moves.size(), review.moves.size());
        for (std::size_t i = 0; i < fast.moves.size(); ++i) {
            SCOPED_TRACE("move " + std::to_string(i + 1));
            EXPECT_EQ(fast.moves[i].values, review.moves[i].values);
            EXPECT_EQ(fast.moves[i].best, review.moves[i].best);
        }
    }
}

// Column 0 holds -, o, -, o, o, o, -, x and every other square is black, so only column 0 can
// turn stones. Square 0 turns 1, then 2 turns 3..5 and nobody can move: 63 stones to none.
// Square 6 turns 3..5, then 0 or 2 turns 1: 63 as well. Square 2 turns all four at once, but
// then the black line 1..5 ends at an empty square at both ends: white turns it from 0 or 6 and
// the game ends 57 to 6. Read to the end, the lowest square of 63 is best and 2 loses 12 stones.
// With the colours swapped the same holds for white, from white's side.
TEST(GameReview, EndReadFindsTheLowestBestMoveAndTheLoss) {
    const Board board =
        FromText("-o-ooo-xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
    const WeightTable weights = testing::RandomWeights(3);
    for (const int side : {Black, White}) {
        SCOPED_TRACE(side == Black ? "black" : "white");
        const Board position = side == Black ? board : SwapColours(board);
        const GameReview review =
            ReviewGame(OneMove(position, side, 2), ReviewOptions{}, weights, PlainRootSearch());
        ASSERT_EQ(review.status, ReviewStatus::Done);
        ASSERT_EQ(review.moves.size(), 1u);
        const MoveReview& move = review.moves[0];
        EXPECT_TRUE(move.readToEnd);
        EXPECT_EQ(move.values[0], 63000);
        EXPECT_EQ(move.values[6], 63000);
        EXPECT_EQ(move.best, 0);
        EXPECT_EQ(move.bestValue, 63000);
        EXPECT_EQ(move.played, 2);
        EXPECT_EQ(move.playedValue, 51000);
        EXPECT_EQ(move.loss, 12000);
        EXPECT_EQ(move.mark, ReviewMark::Blunder);
        EXPECT_EQ(move.values[1], NoMove);
        EXPECT_EQ(review.sides[side].AverageLoss(), 12000);
        EXPECT_EQ(review.sides[side].marks, 1);
    }
}

TEST(GameReview, MarksFollowTheLossThresholds) {
    const std::pair<int, ReviewMark> rows[] = {
        {0, ReviewMark::None},        {1999, ReviewMark::None},     {2000, ReviewMark::Dubious},
        {4999, ReviewMark::Dubious},  {5000, ReviewMark::Mistake},  {9999, ReviewMark::Mistake},
        {10000, ReviewMark::Blunder}, {64000, ReviewMark::Blunder},
    };
    for (const auto& [loss, mark] : rows)
        EXPECT_EQ(MarkOfLoss(loss), mark) << "loss " << loss;
    EXPECT_EQ(MarkText(ReviewMark::None), "");
    EXPECT_EQ(MarkText(ReviewMark::Dubious), "?!");
    EXPECT_EQ(MarkText(ReviewMark::Mistake), "?");
    EXPECT_EQ(MarkText(ReviewMark::Blunder), "??");
}

// A stop request ends the review with what was done; a move that is not legal in the history
// is named, not searched.
TEST(GameReview, StopsOnAbortAndRefusesAnIllegalMove) {
    const WeightTable weights(WeightTableSize, 0);
    std::atomic<bool> abort{false};
    int searches = 0;
    const RootSearch stopAfterOne = [&](const EvalContext& context, const Board& board, int side,
                                        int depthLimit, const ThinkControl& control) {
        if (++searches == 2) abort = true;
        return PlainRootSearch()(context, board, side, depthLimit, control);
    };
    const GameReview midway =
        ReviewGame(OneMove(StartPosition(), White, 19),
                   ReviewOptions{{Cpu1Player, Cpu1Player}, 5, 1}, weights, stopAfterOne, &abort);
    EXPECT_EQ(midway.status, ReviewStatus::Aborted);
    EXPECT_TRUE(midway.moves.empty());

    GameHistory twice = OneMove(StartPosition(), White, 19);
    twice.moveColumn[2] = 2;  // square 19 again, now occupied
    twice.moveRow[2] = 3;
    twice.moveCount = 2;
    const GameReview illegal = ReviewGame(twice, ReviewOptions{{Cpu1Player, Cpu1Player}, 2, 1},
                                          weights, PlainRootSearch());
    EXPECT_EQ(illegal.status, ReviewStatus::IllegalMove);
    EXPECT_EQ(illegal.badMove, 2);
    EXPECT_EQ(illegal.moves.size(), 1u);
}

}  // namespace
}  // namespace vell
