#include "core/history.h"

#include <gtest/gtest.h>

#include "core/player_names.h"

namespace vell {
namespace {

GameHistory WithMoves(std::initializer_list<std::pair<int, int>> moves) {  // (colour, square)
    GameHistory h;
    h.Reset(StartPosition(), White);
    Board board = StartPosition();
    for (auto [colour, square] : moves) {
        h.sideAtPly[h.moveCount] = colour;
        ++h.moveCount;
        h.moveColumn[h.moveCount] = square / 8;
        h.moveRow[h.moveCount] = square % 8;
        PlayMove(board, square, colour);
        h.boardAtPly[h.moveCount] = board;
    }
    h.currentPly = h.moveCount;
    return h;
}

TEST(GameRecordText, EmptyGameShowsOnlyTheStartStones) {
    const std::string text = GameRecordText(WithMoves({}));
    ASSERT_EQ(text.size(), 208u);
    const std::string plain = "-  -  -  -  -  -  -  -  \r\n";
    EXPECT_EQ(text.substr(0, 26), plain);
    EXPECT_EQ(text.substr(26 * 3, 26), "-  -  -  o  x  -  -  -  \r\n");
    EXPECT_EQ(text.substr(26 * 4, 26), "-  -  -  x  o  -  -  -  \r\n");
    EXPECT_EQ(text.substr(26 * 7, 26), plain);
}

TEST(GameRecordText, StonesKeepThePlacingColourAndNumber) {
    // White 19 (column 2, row 3) turns 28; black then 20 (column 2, row 4).
    GameHistory h = WithMoves({{White, 19}, {Black, 20}});
    std::string text = GameRecordText(h);
    EXPECT_EQ(text.substr(26 * 3, 26), "-  -  o1 o  x  -  -  -  \r\n");
    EXPECT_EQ(text.substr(26 * 4, 26), "-  -  x2 x  o  -  -  -  \r\n");
    // Two-digit numbers fill the cell; navigation does not shorten the diagram.
    h.moveCount = 12;
    for (int m = 3; m <= 12; ++m) {
        h.sideAtPly[m - 1] = m % 2;
        h.moveColumn[m] = (m - 3) % 8;
        h.moveRow[m] = m <= 10 ? 0 : 7;
    }
    h.currentPly = 0;
    text = GameRecordText(h);
    EXPECT_EQ(text.substr(26 * 7, 26), "o11x12-  -  -  -  -  -  \r\n");
    EXPECT_EQ(text.substr(0, 26), "o3 x4 o5 x6 o7 x8 o9 x10\r\n");
}

TEST(GameLogLine, HeadColumnsMovesAndTail) {
    const GameHistory h = WithMoves({{White, 19}, {Black, 20}});
    const std::string line = GameLogLine(h, 12, CpuPat1Player, HumanPlayer, {30, 20, 14});
    EXPECT_EQ(line, "       12 e CPU-PAT1 30 ( 35 0 120) Human    20 ( 35 0 120) -34+35 +0\n");
    EXPECT_EQ(line.size(), 63u + 3u * 2u + 1u);
}

TEST(GameLogLine, PlayerTypeOutsideTheTableIsWrittenAsNumber) {
    const std::string line = GameLogLine(WithMoves({}), 0, 9, -1, {2, 2, 60});
    EXPECT_EQ(line, "        0 e 9         2 ( 35 0 120) -1        2 ( 35 0 120)  +0\n");
}

TEST(GameRecord, StoresMovesColoursAndSignedResult) {
    GameHistory h = WithMoves({{White, 19}, {Black, 20}});
    Board final;
    final.fill(Empty);
    for (int s = 0; s < 10; ++s)
        final[s] = Black;
    for (int s = 10; s < 64; ++s)
        final[s] = White;
    const GameRecord r = MakeGameRecord(h, final);
    EXPECT_EQ(r.bytes[0], 0xD4);  // 10 - 54 = -44
    EXPECT_EQ(r.Result(), -44);
    EXPECT_EQ(r.MoveCount(), 2);
    EXPECT_EQ(r.bytes[2], 64 + 19);
    EXPECT_EQ(r.bytes[3], 20);
}

}  // namespace
}  // namespace vell
