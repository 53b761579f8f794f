#include "engine/think_driver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "book/book.h"
#include "core/player_names.h"
#include "core/random.h"
#include "engine/fast_search.h"
#include "engine/search.h"
#include "tests/engine/recording_control.h"
#include "tests/support/temp_dir.h"
#include "tests/engine/test_positions.h"

namespace vell {
namespace {

using testing::FromText;
using testing::TwoEmptiesBoard;

using Panes = std::vector<std::pair<int, std::string>>;
using testing::RecordingControl;

Settings SettingsWith(int black, int white, int normalDepth = 7, int finalDepth = 13) {
    Settings settings = DefaultSettings;
    settings[BlackPlayerSetting] = black;
    settings[WhitePlayerSetting] = white;
    settings[NormalDepthSetting] = normalDepth;
    settings[FinalDepthSetting] = finalDepth;
    return settings;
}

bool IsLegal(const Board& board, int square, int side) {
    Board scratch;
    return square >= 0 && square < 64 && board[square] == Empty &&
           TryMove(board, scratch, square, side) > 1;
}

struct DepthCase {
    int empties, normalDepth, finalDepth, depthLimit;
};

TEST(ThinkDepth, FollowsSettingsAndEmptiesWithinTheDialogRanges) {
    const DepthCase cases[] = {
        {13, 7, 13, 13},
        {14, 7, 13, 7},
        {3, 7, 13, 13},
        {15, 20, 13, 15},
        {60, 7, 13, 7},
        // Settings outside the dialog's ranges are used clamped: 1..20 and 1..30.
        {40, 0, 13, 1},
        {40, -5, 13, 1},
        {40, 99, 13, 20},
        {40, 7, 0, 7},
        {1, 7, 0, 1},
        {2, 7, -3, 2},
        {25, 7, 1000, 30},
        {31, 7, 1000, 7},
        {45, 1000, 1000, 20}};
    for (const DepthCase& c : cases) {
        Settings settings = DefaultSettings;
        settings[NormalDepthSetting] = c.normalDepth;
        settings[FinalDepthSetting] = c.finalDepth;
        EXPECT_EQ(ThinkDepthLimit(c.empties, settings), c.depthLimit)
            << c.empties << " empties, depths " << c.normalDepth << "/" << c.finalDepth;
    }
}

TEST(ThinkVerdict, WordingAtItsBounds) {
    const std::pair<int, const char*> cases[] = {
        {12000, "12000とっても有利です。"}, {10001, "10001とっても有利です。"},
        {10000, "10000有利です。"},         {5001, "5001有利です。"},
        {5000, "5000互角です。"},           {0, "0互角です。"},
        {-5000, "-5000互角です。"},         {-5001, "-5001不利です。"},
        {-10000, "-10000不利です。"},       {-10001, "-10001すごく不利です。"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(VerdictText(value), text);
}

// Fixture: an empty book in a temporary directory, zero weights, a recording control.
class ThinkDriverTest : public ::testing::Test {
  protected:
    ThinkDriverTest() { EXPECT_TRUE(book.Load(dir.Path() / "book.dat").ok); }

    ThinkReport Think(const Board& board, int side, const Settings& settings,
                      SecondsClock clock = WallClockSeconds) {
        return ThinkThread(ThinkRequest{board, side, settings}, control, book, weights.table,
                           clock);
    }

    test::TempDir dir;
    Book book;
    Weights weights;
    RecordingControl control;
};

const char* const MidgameBoard = "-------------------xox-o-o-oxxx--oooox--x-oo-------xx-----x-----";

TEST_F(ThinkDriverTest, MoreThanFourteenStonesSearchWithoutTheBook) {
    const Board board = FromText(MidgameBoard);
    ASSERT_EQ(64 - CountStones(board)[Empty], 20);
    const ThinkReport report = Think(board, White, SettingsWith(HumanPlayer, Cpu1Player, 3));
    EXPECT_EQ(control.Panes(), (Panes{{2, "NOBOOK普通読みです……"}}));

    SearchRun search(EvalContext{Cpu1Player, false, nullptr, nullptr});
    search.depthLimit = 3;
    const int value = search.Search(board, White, SearchWindowLow, SearchWindowHigh);
    EXPECT_EQ(report.outcome.result, ThinkMoveReady);
    EXPECT_EQ(report.outcome.square, search.chosenSquare);
    // White's verdict is in white's view: the search's black-frame value negated.
    EXPECT_EQ(report.outcome.message, VerdictText(-value));
    EXPECT_EQ(report.nodes, search.nodes);
}

TEST_F(ThinkDriverTest, BookPhaseWithoutBookKnowledgeFallsBackToSearch) {
    const ThinkReport report =
        Think(StartPosition(), White, SettingsWith(HumanPlayer, Cpu1Player, 2));
    EXPECT_EQ(control.Panes(), (Panes{{2, "BOOKを探索します……"}, {2, "普通読みです……"}}));
    EXPECT_EQ(report.outcome.result, ThinkMoveReady);
    EXPECT_TRUE(IsLegal(StartPosition(), report.outcome.square, White));
    EXPECT_GT(report.nodes, 0u);
}

// White's book values are shown in black's frame: a record of -3000 after white's move is
// +3000 for white and shows as -3000.
TEST_F(ThinkDriverTest, BookMoveForWhiteShowsBlackFrameValue) {
    Board child = StartPosition();
    PlayMove(child, 21, White);
    book.AddGame(child, -3);
    const ThinkReport report = Think(StartPosition(), White, DefaultSettings);
    EXPECT_EQ(report.outcome.result, ThinkMoveReady);
    EXPECT_EQ(report.outcome.square, 21);
    EXPECT_EQ(report.outcome.message, "BOOK最善手です:-3000");
    EXPECT_EQ(control.Panes(), (Panes{{2, "BOOKを探索します……"}, {2, "BOOK最善手です:-3000"}}));
    EXPECT_EQ(report.nodes, 0u);
}

// A damaged book whose every child of the position lies far below any real result (a sum of
// -2000000 stones in one game) still gives a book move on a legal square, never a move without
// one.
TEST_F(ThinkDriverTest, BookValuesBeyondAnyResultStillGiveALegalMove) {
    const Board start = StartPosition();
    LegalMap legal;
    ASSERT_GT(CountLegalMoves(start, Black, &legal), 1);
    for (int s = 0; s < 64; ++s) {
        if (!legal[s]) continue;
        Board child = start;
        PlayMove(child, s, Black);
        book.AddGame(child, -2000000);
    }
    const ThinkReport report = Think(start, Black, SettingsWith(Cpu1Player, Cpu1Player));
    EXPECT_EQ(report.outcome.result, ThinkMoveReady);
    EXPECT_TRUE(IsLegal(start, report.outcome.square, Black)) << report.outcome.square;
}

// A book position with a stored average of 0 is still book knowledge for black (candidate 1);
// for white it is -1, below the moves outside the book, and the search decides.
TEST_F(ThinkDriverTest, ZeroAverageBookPositionIsABookMoveOnlyForBlack) {
    Board child = StartPosition();
    PlayMove(child, 18, Black);
    book.AddGame(child, 2);
    book.AddGame(child, -2);
    const ThinkReport black = Think(StartPosition(), Black, SettingsWith(Cpu1Player, Cpu1Player));
    EXPECT_EQ(black.outcome.square, 18);
    EXPECT_EQ(black.outcome.message, "BOOK最善手です:1");

    Board whiteChild = StartPosition();
    PlayMove(whiteChild, 19, White);
    book.AddGame(whiteChild, 1);
    book.AddGame(whiteChild, -1);
    RecordingControl whiteControl;
    const ThinkReport white =
        ThinkThread(ThinkRequest{StartPosition(), White, SettingsWith(Cpu1Player, Cpu1Player, 1)},
                    whiteControl, book, weights.table);
    EXPECT_EQ(whiteControl.Panes().back(), (std::pair<int, std::string>{2, "普通読みです……"}));
    EXPECT_EQ(white.outcome.result, ThinkMoveReady);
}

std::uint32_t ClockZero() {
    return 0;
}
std::uint32_t ClockOne() {
    return 1;
}

// With training on, the book choice reseeds the thread's generator with the time plus a draw
// and an odd second draw takes the second-best move. Records after white's moves: 19, 26, 37
// and 44 give one position (-1000 for black), 21 and 42 another (-2000). White's candidates in
// square order are 1000, 2000, 1000, 1000, 2000, 1000: 21 takes the best place from 19, and 42,
// equal to the best but above the second, becomes the second.
TEST_F(ThinkDriverTest, TrainingCoinTossPicksTheSecondBestMove) {
    Board first = StartPosition(), second = StartPosition();
    PlayMove(first, 19, White);
    PlayMove(second, 21, White);
    book.AddGame(first, -1);
    book.AddGame(second, -2);
    // What the thread draws after its think starts it at state 1: 41, then the toss.
    auto toss = [](std::uint32_t now) {
        std::uint32_t state = now + 41;
        state = state * 214013u + 2531011u;
        return (state >> 16) & 1u;
    };
    ASSERT_EQ(toss(0), 0u);
    ASSERT_EQ(toss(1), 1u);
    Settings settings = DefaultSettings;
    settings[TrainingModeSetting] = 1;

    ThinkReport even = Think(StartPosition(), White, settings, ClockZero);
    EXPECT_EQ(even.outcome.square, 21);
    EXPECT_EQ(even.outcome.message, "BOOK最善手です:-2000");
    ThinkReport odd = Think(StartPosition(), White, settings, ClockOne);
    EXPECT_EQ(odd.outcome.square, 42);
    EXPECT_EQ(odd.outcome.message, "BOOK次善手です:-2000");
    settings[TrainingModeSetting] = 0;
    ThinkReport off = Think(StartPosition(), White, settings, ClockOne);
    EXPECT_EQ(off.outcome.square, 21);
}

// A side to move without a legal move gets the other side's best square, and the verdict is
// still given from the side to move's view.
TEST_F(ThinkDriverTest, SideWithoutMoveReportsTheOtherSidesSquare) {
    const ThinkReport report =
        Think(FromText(TwoEmptiesBoard), White, SettingsWith(Cpu1Player, Cpu1Player));
    EXPECT_EQ(report.outcome.result, ThinkMoveReady);
    EXPECT_EQ(report.outcome.square, 0);
    EXPECT_EQ(report.outcome.message, "-63000すごく不利です。");
    EXPECT_EQ(report.nodes, 6u);  // white's root, then black's search of 5 nodes
}

TEST_F(ThinkDriverTest, NeitherSideCanMove) {
    Board lone;
    lone.fill(Empty);
    lone[0] = White;  // a corner stone cannot be turned and white has nothing to turn
    ThinkReport book = Think(lone, Black, SettingsWith(Cpu1Player, Cpu1Player));
    EXPECT_EQ(book.outcome.result, ThinkNoMove);
    EXPECT_EQ(book.outcome.square, -1);
    EXPECT_EQ(book.outcome.message, "BOOKを探索します……");

    Board full;
    full.fill(Black);
    full[5] = White;
    RecordingControl searchControl;
    const ThinkReport search = ThinkThread(ThinkRequest{full, White, DefaultSettings},
                                           searchControl, this->book, weights.table);
    EXPECT_EQ(search.outcome.result, ThinkNoMove);
    EXPECT_EQ(search.outcome.square, -1);
    EXPECT_EQ(search.outcome.message, "NOBOOK普通読みです……");
    EXPECT_EQ(searchControl.Panes(), (Panes{{2, "NOBOOK普通読みです……"}}));
}

TEST_F(ThinkDriverTest, StopRequestBeforeTheSearchGivesAborted) {
    control.abort = true;
    const ThinkReport report =
        Think(FromText(MidgameBoard), White, SettingsWith(HumanPlayer, Cpu1Player));
    EXPECT_EQ(report.outcome.result, ThinkAborted);
}

// A control that asks to play now once a given depth is complete, and keeps the last depth.
class PlayNowControl : public RecordingControl {
  public:
    explicit PlayNowControl(int after) : after(after) {}
    void ReportDepth(int depth) override { last = depth; }
    bool PlayNowRequested() const override { return last >= after; }
    int last = 0;

  private:
    int after;
};

// Stopped by a request to play now or by the time limit, the fast think plays the square and
// value of its deepest completed depth and says the depth;
// without anything completed the plain search plays the best move of one ply.
TEST_F(ThinkDriverTest, StoppedEarlyPlaysTheDeepestCompletedDepth) {
    const Board board = FromText(MidgameBoard);
    TablePool tables(std::size_t{1} << 20);
    for (const bool timeLimit : {false, true}) {
        PlayNowControl stopper(timeLimit ? 100 : 3);
        Settings settings = SettingsWith(HumanPlayer, Cpu1Player, 20);
        if (timeLimit) settings[MoveTimeSetting] = 1;
        const ThinkReport report = ThinkThread(ThinkRequest{board, White, settings}, stopper, book,
                                               weights.table, WallClockSeconds, &tables);
        ASSERT_EQ(report.outcome.result, ThinkMoveReady) << timeLimit;
        ASSERT_GE(stopper.last, timeLimit ? 1 : 3);
        ASSERT_LT(stopper.last, 20);
        // The fast search at that depth, which gives the plain search's answer.
        TranspositionTable table(std::size_t{1} << 20);
        FastSearchRun full(EvalContext{Cpu1Player, false, nullptr, nullptr}, table);
        full.depthLimit = stopper.last;
        const int value = full.Search(board, White);
        EXPECT_EQ(report.outcome.square, full.chosenSquare) << timeLimit;
        EXPECT_EQ(report.outcome.message,
                  VerdictText(-value) + "（" + std::to_string(stopper.last) + "手読み）");
    }
    PlayNowControl atOnce(0);
    const ThinkReport random =
        ThinkThread(ThinkRequest{board, White, SettingsWith(HumanPlayer, Cpu12Player, 20)}, atOnce,
                    book, weights.table);
    EXPECT_EQ(random.outcome.result, ThinkMoveReady);
    EXPECT_TRUE(IsLegal(board, random.outcome.square, White));
    EXPECT_NE(random.outcome.message.find("（1手読み）"), std::string::npos);
}

// Hand-edited depths outside the dialog's ranges still give a legal move, at the clamped depth.
TEST_F(ThinkDriverTest, OutOfRangeDepthsAreClamped) {
    const Board board = FromText(MidgameBoard);
    for (int normal : {0, -12}) {
        const ThinkReport report =
            Think(board, White, SettingsWith(HumanPlayer, Cpu1Player, normal, 0));
        EXPECT_EQ(report.outcome.result, ThinkMoveReady) << normal;
        EXPECT_TRUE(IsLegal(board, report.outcome.square, White)) << normal;
        EXPECT_EQ(report.nodes, 1u + CountLegalMoves(board, White)) << normal;  // depth 1
    }
    // A final depth far above 30 reads a short endgame to its end like 30 does.
    testing::TestPosition endgame{};
    for (const auto& p : testing::RandomGamePositions(5, 10))
        if (CountStones(p.board)[Empty] == 10) endgame = p;
    ASSERT_EQ(CountStones(endgame.board)[Empty], 10);
    const ThinkReport huge =
        Think(endgame.board, endgame.side, SettingsWith(Cpu1Player, Cpu1Player, 7, 1000000));
    const ThinkReport thirty =
        Think(endgame.board, endgame.side, SettingsWith(Cpu1Player, Cpu1Player, 7, 30));
    EXPECT_EQ(huge.outcome.result, ThinkMoveReady);
    EXPECT_EQ(huge.outcome.square, thirty.outcome.square);
    EXPECT_EQ(huge.nodes, thirty.nodes);
}

// Each think starts its thread's generator afresh, so random players repeat themselves turn
// after turn, whatever the thread drew before.
TEST_F(ThinkDriverTest, RandomPlayersThinkReproducibly) {
    const Board board = FromText(MidgameBoard);
    for (int type : {HumanPlayer, Cpu12Player}) {
        const Settings settings = SettingsWith(type, type, 4);
        const ThinkReport first = Think(board, White, settings);
        SeedRandom(987654);
        Random();
        const ThinkReport again = Think(board, White, settings);
        EXPECT_EQ(first.outcome.square, again.outcome.square) << type;
        EXPECT_EQ(first.outcome.message, again.outcome.message) << type;
        EXPECT_EQ(first.nodes, again.nodes) << type;
    }
}

}  // namespace
}  // namespace vell
