#include "book/book_choice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "book/book.h"
#include "book/book_value_message.h"
#include "core/random.h"

namespace vell {
namespace {

constexpr int Alpha = -1000000000;

// The evaluation in book mode as the choice sees it: candidate values (mover's view) given per
// legal move in square order, turned into black's view as the evaluation would give them.
auto CandidateValues(const Board& board, int side, std::vector<int> moverValues) {
    return [board, side, moverValues](const Board& child, int gameOver, int childSide) {
        EXPECT_EQ(gameOver, 0);
        EXPECT_EQ(childSide, 1 - side);
        int index = 0;
        Board scratch;
        for (int s = 0; s < 64; ++s) {
            if (board[s] != Empty || TryMove(board, scratch, s, side) == 1) continue;
            if (child[s] != Empty) {
                const int v = moverValues.at(static_cast<std::size_t>(index));
                return side == White ? -v : v;
            }
            ++index;
        }
        ADD_FAILURE() << "child of no legal move";
        return 0;
    };
}

// The generator's draw after a thread at state 1 reseeds with `now` + its first draw (41).
int TossAfterReseed(std::uint32_t now) {
    const std::uint32_t state = (now + 41u) * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7fffu);
}

std::uint32_t TimeGivingToss(bool odd) {
    std::uint32_t now = 0;
    while ((TossAfterReseed(now) % 2 == 1) != odd)
        ++now;
    return now;
}

struct ChoiceCase {
    const char* label;
    int side;
    std::vector<int> values;  // mover's view, per legal move of the start position
    bool training;
    bool oddToss;
    int square;
    int value;
    bool bestMove;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.label;
}

class BookChoiceCase : public ::testing::TestWithParam<ChoiceCase> {};

// Start position: black's moves are 18, 20, 29, 34, 43, 45; white's 19, 21, 26, 37, 42, 44.
TEST_P(BookChoiceCase, ChoosesSquareValueAndFlag) {
    const ChoiceCase& c = GetParam();
    const Board start = StartPosition();
    SeedRandom(1);
    const BookChoice choice =
        ChooseBookMove(start, c.side, Alpha, c.training, TimeGivingToss(c.oddToss),
                       CandidateValues(start, c.side, c.values));
    EXPECT_EQ(choice.square, c.square);
    EXPECT_EQ(choice.value, c.value);
    EXPECT_EQ(choice.bestMove, c.bestMove);
    EXPECT_EQ(choice.legalMoves, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BookChoiceCase,
    ::testing::Values(
        ChoiceCase{
            "LaterBetterMoveIsBest", Black, {300, 500, 400, 0, 0, 0}, false, true, 20, 500, true},
        ChoiceCase{
            "EvenTossKeepsBest", Black, {300, 500, 400, 0, 0, 0}, true, false, 20, 500, true},
        // 300 lost the best place to 500, so a second exists; 400 then displaces it.
        ChoiceCase{
            "OddTossTakesSecond", Black, {300, 500, 400, 0, 0, 0}, true, true, 29, 400, false},
        // The first move stays best, so no second candidate ever appears.
        ChoiceCase{
            "NoSecondWhenFirstIsBest", Black, {500, 300, 400, 0, 0, 0}, true, true, 18, 500, true},
        ChoiceCase{
            "NothingInBookGivesLowestSquare", White, {0, 0, 0, 0, 0, 0}, false, false, 19, 0, true},
        // A found average of 0 evaluates as 1 (black's view): +1 for black, -1 for white, where
        // the next move, outside the book, is better.
        ChoiceCase{
            "ZeroAverageForBlackIsABookMove", Black, {1, 0, 0, 0, 0, 0}, false, false, 18, 1, true},
        ChoiceCase{"ZeroAverageForWhiteLosesToUnknown",
                   White,
                   {-1, 0, 0, 0, 0, 0},
                   false,
                   false,
                   21,
                   0,
                   true},
        // Black's-view records -3000 and +2000 are 3000 and -2000 for white.
        ChoiceCase{"WhiteSeesNegatedValues",
                   White,
                   {3000, -2000, 0, 0, 0, 0},
                   false,
                   false,
                   19,
                   3000,
                   true},
        // Equal to the best but above the second: an equal later move becomes the second.
        ChoiceCase{"EqualToBestBecomesSecond",
                   Black,
                   {100, 200, 150, 200, 0, 0},
                   true,
                   true,
                   34,
                   200,
                   false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(BookChoice, NoLegalMove) {
    Board lone;
    lone.fill(Empty);
    lone[0] = White;
    for (bool training : {false, true}) {
        const BookChoice choice = ChooseBookMove(lone, Black, Alpha, training, 0,
                                                 [](const Board&, int, int) { return 0; });
        EXPECT_EQ(choice.legalMoves, 0);
        EXPECT_EQ(choice.square, -1);
        EXPECT_TRUE(choice.bestMove);
    }
}

// With training on the thread's generator is reseeded on every call, even without a second
// candidate; with training off it is not touched.
TEST(BookChoice, TrainingReseedsTheThreadsGenerator) {
    const Board start = StartPosition();
    SeedRandom(1);
    ChooseBookMove(start, Black, Alpha, true, 1000,
                   CandidateValues(start, Black, {6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(Random(), TossAfterReseed(1000));
    SeedRandom(1);
    ChooseBookMove(start, Black, Alpha, false, 1000,
                   CandidateValues(start, Black, {6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(Random(), 41);
}

TEST(BookValueMessage, ValueOrNotInBook) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vell-book-choice-test-" +
                      std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    {
        Book book;
        ASSERT_TRUE(book.Load(dir / "book.dat").ok);
        const Board start = StartPosition();
        Board child = start;
        PlayMove(child, 19, White);
        book.AddGame(start, 3);
        book.AddGame(start, -3);
        book.AddGame(child, -5);
        book.AddGame(child, 0);
        book.AddGame(child, 0);
        EXPECT_EQ(BookValueMessage(book, start), "0");  // found, average 0
        EXPECT_EQ(BookValueMessage(book, child), "-1666");
        Board unknown = start;
        PlayMove(unknown, 18, Black);
        EXPECT_EQ(BookValueMessage(book, unknown), "ブックにありません。");
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

}  // namespace
}  // namespace vell
