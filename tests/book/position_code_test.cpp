#include "book/position_code.h"

#include <cstdio>
#include <random>

#include <gtest/gtest.h>

#include "book/board_symmetry.h"
#include "tests/support/random_play.h"

namespace vell {
namespace {

std::string Hex(const PositionCode& code) {
    std::string text;
    for (std::uint8_t b : code) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", b);
        text += hex;
    }
    return text;
}

// The code as the definition reads: for each of the eight maps, code position p = 8a + b comes
// from square 8x + y for (x, y) in the listed order; five digits a byte; the greatest code wins.
PositionCode ReferenceCode(const Board& board) {
    PositionCode best{};
    for (int m = 0; m < 8; ++m) {
        int digits[64];
        for (int p = 0; p < 64; ++p) {
            const int a = p / 8, b = p % 8;
            const int pairs[8][2] = {{b, a}, {7 - b, a}, {b, 7 - a}, {7 - b, 7 - a},
                                     {a, b}, {a, 7 - b}, {7 - a, b}, {7 - a, 7 - b}};
            digits[p] = board[pairs[m][0] * 8 + pairs[m][1]];
        }
        PositionCode code{};
        for (int j = 0; j < 13; ++j) {
            int value = 0;
            for (int t = (j < 12 ? 4 : 3); t >= 0; --t)
                value = 3 * value + digits[5 * j + t];
            code[j] = static_cast<std::uint8_t>(value);
        }
        if (m == 0 || code > best) best = code;
    }
    return best;
}

Board Image(const Board& board, int symmetry) {
    Board image;
    for (int s = 0; s < 64; ++s)
        image[s] = board[MapSquare(symmetry, s)];
    return image;
}

TEST(PositionCode, KnownBoards) {
    struct Row {
        const char* label;
        Board board;
        const char* code;
    };
    Board empty;
    empty.fill(Empty);
    Board blackCorner = empty;
    blackCorner[0] = Black;
    Board whiteOne = empty;
    whiteOne[1] = White;
    const Row rows[] = {
        {"start position", StartPosition(), "f2f2f2f2f2c5f2ebf2f2f2f250"},
        {"no stones", empty, "f2f2f2f2f2f2f2f2f2f2f2f250"},
        {"black stone on square 0", blackCorner, "f2f2f2f2f2f2f2f2f2f2f2f21a"},
        {"white stone on square 1", whiteOne, "f2f2f2f2f2f2f2f2f2f2f2f247"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hex(EncodePosition(row.board)), row.code) << row.label;
}

TEST(PositionCode, AllEightImagesShareOneCode) {
    for (const Board& board : test::RandomPlayBoards(21, 2000)) {
        const PositionCode code = EncodePosition(board);
        for (int j = 1; j < 8; ++j)
            ASSERT_EQ(EncodePosition(Image(board, j)), code)
                << BoardToText(board) << " image " << j;
    }
}

TEST(PositionCode, AgreesWithTheDefinitionOnRandomBoards) {
    std::mt19937 random(8);
    std::vector<Board> boards = test::RandomPlayBoards(22, 3000);
    for (int i = 0; i < 2000; ++i)
        boards.push_back(test::RandomBoard(random));
    for (const Board& board : boards)
        ASSERT_EQ(Hex(EncodePosition(board)), Hex(ReferenceCode(board))) << BoardToText(board);
}

TEST(BoardSymmetry, ImagesMoveEverySquareAsItsMapSays) {
    for (int s = 0; s < 64; ++s) {
        const auto images = SymmetricImages(SquareBB(s));
        for (int j = 0; j < 8; ++j) {
            // Image j holds at square t the stone of square MapSquare(j, t).
            Bitboard expected = 0;
            for (int t = 0; t < 64; ++t)
                if (MapSquare(j, t) == s) expected |= SquareBB(t);
            EXPECT_EQ(images[j], expected) << "square " << s << " map " << j;
        }
    }
}

TEST(BoardSymmetry, MapsArePermutationsAndImageFourTransposes) {
    for (int j = 0; j < 8; ++j) {
        Bitboard seen = 0;
        for (int s = 0; s < 64; ++s)
            seen |= SquareBB(MapSquare(j, s));
        EXPECT_EQ(seen, ~Bitboard{0}) << "map " << j;
    }
    std::mt19937_64 random(3);
    for (int i = 0; i < 100; ++i) {
        const Bitboard b = random();
        const auto images = SymmetricImages(b);
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(Transpose(images[j]), images[j ^ 4]);
        EXPECT_EQ(FlipColumns(FlipColumns(b)), b);
        EXPECT_EQ(FlipRows(FlipRows(b)), b);
    }
}

}  // namespace
}  // namespace vell
