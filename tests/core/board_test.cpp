#include "core/board.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <utility>
#include <vector>

#include "core/bitboard.h"
#include "core/perft.h"
#include "core/square_name.h"

namespace vell {
namespace {

// The capture rule written out square by square, as plainly as it reads: the reference that
// the bitboard routines must match exactly.
int ReferenceTryMove(const Board& source, Board& destination, int square, int colour) {
    static const int steps[8][2] = {{0, -1},  {0, 1},  {-1, 0}, {1, 0},
                                    {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    destination = source;
    destination[square] = static_cast<std::int8_t>(colour);
    int turned = 0;
    for (const auto& step : steps) {
        int c = square / 8 + step[0], r = square % 8 + step[1], k = 0;
        while (c >= 0 && c < 8 && r >= 0 && r < 8 && source[c * 8 + r] == 1 - colour) {
            ++k;
            c += step[0];
            r += step[1];
        }
        if (k == 0 || c < 0 || c > 7 || r < 0 || r > 7 || source[c * 8 + r] != Empty) continue;
        for (int i = 1; i <= k; ++i)
            destination[(square / 8 + i * step[0]) * 8 + square % 8 + i * step[1]] =
                static_cast<std::int8_t>(colour);
        turned += k;
    }
    return 1 + turned;
}

Board FromText(const char* text) {
    Board board;
    EXPECT_TRUE(BoardFromText(text, board)) << text;
    return board;
}

Board EmptyBoard() {
    Board board;
    board.fill(Empty);
    return board;
}

std::vector<int> LegalSquares(const Board& board, int colour) {
    LegalMap map;
    CountLegalMoves(board, colour, &map);
    std::vector<int> squares;
    for (int s = 0; s < 64; ++s)
        if (map[s]) squares.push_back(s);
    return squares;
}

// Column first, row second, as the board is drawn; names read back to their squares.
TEST(SquareNames, ColumnLetterThenRowNumberAndBack) {
    EXPECT_EQ(SquareName(0), "a1");
    EXPECT_EQ(SquareName(3 * 8 + 2), "d3");
    EXPECT_EQ(SquareName(63), "h8");
    EXPECT_EQ(SquareName(64), "");
    for (int square = 0; square < 64; ++square)
        EXPECT_EQ(SquareFromName(SquareName(square)), square);
    EXPECT_EQ(SquareFromName("D3"), 26);
    for (const char* bad : {"", "i1", "a0", "a9", "a10", "3d"})
        EXPECT_FALSE(SquareFromName(bad));
}

TEST(CaptureRule, StartPositionMovesForBothColours) {
    const Board start = StartPosition();
    EXPECT_EQ(LegalSquares(start, Black), (std::vector<int>{18, 20, 29, 34, 43, 45}));
    EXPECT_EQ(LegalSquares(start, White), (std::vector<int>{19, 21, 26, 37, 42, 44}));
    EXPECT_EQ(CountLegalMoves(start, Black), 6);

    Board after;
    EXPECT_EQ(TryMove(start, after, 18, Black), 3);  // turns 27 and 36, the run ends at 45
    EXPECT_EQ(after[27], Black);
    EXPECT_EQ(after[36], Black);
    EXPECT_EQ(TryMove(start, after, 45, Black), 3);
    EXPECT_EQ(TryMove(start, after, 21, White), 3);
    EXPECT_EQ(TryMove(start, after, 42, White), 3);
    EXPECT_EQ(TryMove(start, after, 19, White), 2);
    EXPECT_EQ(after[28], White);
}

TEST(CaptureRule, RunEndingAtOwnStoneTurnsNothing) {
    const Board start = StartPosition();
    Board after;
    EXPECT_EQ(TryMove(start, after, 19, Black), 1);
    Board expected = start;
    expected[19] = Black;
    EXPECT_EQ(after, expected);  // the placed stone and nothing else
    EXPECT_EQ(start, StartPosition());
}

TEST(CaptureRule, LineEndingAtEmptySquareTurnsAndEdgeOrOwnStoneDoesNot) {
    struct Row {
        const char* label;
        std::int8_t last;  // value of square 7, after white stones on 1..6
        int expected;
    };
    for (const Row& row : {Row{"empty end", Empty, 7}, Row{"run to the edge", White, 1},
                           Row{"own stone end", Black, 1}}) {
        Board board = EmptyBoard();
        for (int s = 1; s <= 6; ++s)
            board[s] = White;
        board[7] = row.last;
        Board after;
        EXPECT_EQ(TryMove(board, after, 0, Black), row.expected) << row.label;
        EXPECT_EQ(after[7], row.last) << row.label;  // the empty end stays empty
    }
}

TEST(CaptureRule, SeveralDirectionsAtOnceAddUp) {
    Board board = EmptyBoard();
    // Black on 18 (2,2): runs right (26, 34 then empty 42), down (19 then empty 20) and
    // down-right (27, 36 then empty 45); up-left (9) ends at the own stone on 0.
    board[26] = board[34] = White;
    board[19] = White;
    board[27] = board[36] = White;
    board[9] = White;
    board[0] = Black;
    Board after;
    EXPECT_EQ(TryMove(board, after, 18, Black), 1 + 2 + 1 + 2);
    for (int s : {26, 34, 19, 27, 36})
        EXPECT_EQ(after[s], Black) << s;
    EXPECT_EQ(after[9], White);
    Board played = board;
    EXPECT_EQ(PlayMove(played, 18, Black), 6);
    EXPECT_EQ(played, after);
}

TEST(CaptureRule, RaysDoNotWrapBetweenColumns) {
    // Square 7 is the foot of column 0; square 8 heads column 1. A white stone on 8 and an empty
    // 9 must not be read as a downward run from 7.
    Board board = EmptyBoard();
    board[8] = White;
    Board after;
    EXPECT_EQ(TryMove(board, after, 7, Black), 1);
    board = EmptyBoard();
    board[7] = White;  // upward from 8 would wrap to 7, then 6
    EXPECT_EQ(TryMove(board, after, 8, Black), 1);
}

TEST(PlayMove, PassSquareChangesNothing) {
    for (int colour : {Black, White}) {
        Board board = StartPosition();
        EXPECT_EQ(PlayMove(board, PassSquare, colour), 0);
        EXPECT_EQ(board, StartPosition());
    }
}

TEST(PlayMove, MoveThatTurnsNothingStillPlacesTheStone) {
    Board board = StartPosition();
    EXPECT_EQ(PlayMove(board, 0, Black), 1);
    EXPECT_EQ(board[0], Black);
}

TEST(CountLegalMoves, FullBoardHasNoMovesAndClearsTheMap) {
    Board board;
    for (int s = 0; s < 64; ++s)
        board[s] = s < 40 ? Black : White;
    LegalMap map;
    map.fill(7);
    EXPECT_EQ(CountLegalMoves(board, Black, &map), 0);
    EXPECT_EQ(CountLegalMoves(board, White, &map), 0);
    for (int v : map)
        EXPECT_EQ(v, 0);
    EXPECT_EQ(CountStones(board), (StoneCounts{40, 24, 0}));
}

// Random positions reached by random play plus random noise boards; every square and both
// colours must agree with the reference walk in result, stones turned and legal map.
TEST(CaptureRule, MatchesSquareBySquareReferenceOnRandomPositions) {
    std::mt19937 rng(20261208);
    std::vector<Board> positions;
    for (int game = 0; game < 300; ++game) {
        Board board = StartPosition();
        int side = White;
        for (int ply = 0; ply < 60; ++ply) {
            positions.push_back(board);
            std::vector<int> moves = LegalSquares(board, side);
            if (moves.empty()) {
                side = 1 - side;
                moves = LegalSquares(board, side);
                if (moves.empty()) break;
            }
            PlayMove(board, moves[rng() % moves.size()], side);
            side = 1 - side;
        }
    }
    for (int i = 0; i < 2000; ++i) {
        Board board;
        for (auto& v : board)
            v = static_cast<std::int8_t>(rng() % 3);
        positions.push_back(board);
    }
    for (const Board& board : positions) {
        for (int colour : {Black, White}) {
            LegalMap map;
            const int count = CountLegalMoves(board, colour, &map);
            int expectedCount = 0;
            for (int s = 0; s < 64; ++s) {
                Board fast, slow, played = board;
                const int fastResult = TryMove(board, fast, s, colour);
                const int slowResult = ReferenceTryMove(board, slow, s, colour);
                ASSERT_EQ(fastResult, slowResult) << BoardToText(board) << " square " << s;
                ASSERT_EQ(fast, slow) << BoardToText(board) << " square " << s;
                if (s != PassSquare) {
                    ASSERT_EQ(PlayMove(played, s, colour), slowResult);
                    ASSERT_EQ(played, slow);
                }
                const bool legal = board[s] == Empty && slowResult > 1;
                expectedCount += legal;
                ASSERT_EQ(map[s], legal ? 1 : 0) << BoardToText(board) << " square " << s;
            }
            ASSERT_EQ(count, expectedCount) << BoardToText(board);
        }
    }
}

// With few empty squares a move's flips can be read off the lines between empty squares: a
// stone on s turns exactly the lines BetweenBB[s][e] toward the other empty squares e that hold
// only opponent stones. Boards filled at random with 2 to 13 empty squares, both colours.
TEST(CaptureRule, FlipsAreTheOpponentLinesToOtherEmptySquares) {
    std::mt19937_64 rng(20261209);
    for (int k = 0; k < 4000; ++k) {
        const Bitboard black = rng();
        Bitboard empty = 0;
        for (int e = 2 + k % 12; e > 0; --e)
            empty |= SquareBB(static_cast<int>(rng() % 64));
        const Bitboard white = ~black & ~empty;
        for (const auto& [own, opp] :
             {std::pair{black & ~empty, white}, std::pair{white, black & ~empty}})
            for (Bitboard from = empty; from; from &= from - 1) {
                const int s = std::countr_zero(from);
                Bitboard lines = 0;
                for (Bitboard to = empty & ~SquareBB(s); to; to &= to - 1) {
                    const Bitboard line = BetweenBB[s][std::countr_zero(to)];
                    if (line && !(line & ~opp)) lines |= line;
                }
                ASSERT_EQ(lines, Flips(own, opp, s))
                    << "black " << (black & ~empty) << " white " << white << " square " << s;
            }
    }
}

TEST(BoardText, RoundTripsAndRefusesBadText) {
    const Board start = StartPosition();
    EXPECT_EQ(FromText(BoardToText(start).c_str()), start);
    Board board = start;
    EXPECT_FALSE(BoardFromText("x", board));
    EXPECT_FALSE(BoardFromText(std::string(63, '-') + "y", board));
    EXPECT_EQ(board, start);
}

TEST(Perft, StartPositionTotals) {
    const Board start = StartPosition();
    const std::uint64_t expected[] = {1, 6, 76, 916, 12736, 166816};
    for (int depth = 0; depth <= 5; ++depth)
        EXPECT_EQ(Perft(StonesOf(start, White), StonesOf(start, Black), depth), expected[depth])
            << depth;
}

TEST(Perft, PassUsesOnePlyAndGameEndCountsOne) {
    Board board = EmptyBoard();
    EXPECT_EQ(Perft(StonesOf(board, Black), StonesOf(board, White), 5), 1u);
    // Black has no move; white plays 0 -> turns 1 (run ends at empty 2).
    board[0] = Empty;
    board[1] = Black;
    EXPECT_EQ(Perft(StonesOf(board, Black), StonesOf(board, White), 1), 1u);
}

}  // namespace
}  // namespace vell
