#include "core/diagram_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/random_play.h"

namespace vell {
namespace {

// A random game shown at its end, as the flow leaves a finished game.
GameHistory RandomGame(std::mt19937& random, int maxMoves) {
    GameHistory h = test::RandomGame(random, maxMoves);
    h.currentPly = h.moveCount;
    return h;
}

std::string StartDiagram() {
    std::string text;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int s = x * 8 + y;
            text += s == 27 || s == 36 ? "o  " : s == 28 || s == 35 ? "x  " : "-  ";
        }
        text += "\r\n";
    }
    return text;
}

// Replaces the cell of (column, row) in a diagram with CR LF line ends.
std::string WithCell(std::string text, int column, int row, const char* cell) {
    text.replace(row * 26 + column * 3, 3, cell);
    return text;
}

TEST(DiagramReader, RandomGamesRoundTripThroughTheDiagram) {
    std::mt19937 random(20240611);
    int passes = 0, finished = 0;
    for (int game = 0; game < 2000; ++game) {
        const GameHistory written = RandomGame(random, 1 + game % 60);
        const std::string text = GameRecordText(written);
        const DiagramReadResult read = ReadGameRecordText(text);
        ASSERT_EQ(read.error, DiagramError::None) << "move " << read.moveNumber << "\n" << text;
        const GameHistory& h = read.history;
        ASSERT_EQ(h.moveCount, written.moveCount) << text;
        EXPECT_EQ(h.currentPly, 0);
        for (int m = 1; m <= h.moveCount; ++m) {
            ASSERT_EQ(h.sideAtPly[m - 1], written.sideAtPly[m - 1]) << "move " << m << "\n" << text;
            ASSERT_EQ(h.SquareOfMove(m), written.SquareOfMove(m)) << "move " << m;
            ASSERT_EQ(h.boardAtPly[m], written.boardAtPly[m]) << "move " << m;
            if (m > 1 && h.sideAtPly[m - 1] == h.sideAtPly[m - 2]) ++passes;
        }
        EXPECT_EQ(h.sideAtPly[h.moveCount], written.sideAtPly[written.moveCount]) << text;
        EXPECT_EQ(h.boardAtPly[0], StartPosition());
        if (CountLegalMoves(h.boardAtPly[h.moveCount], Black) +
                CountLegalMoves(h.boardAtPly[h.moveCount], White) ==
            0)
            ++finished;
        EXPECT_EQ(GameRecordText(h), text);
    }
    // The sample must exercise passes and finished games, or the round trip proves little.
    EXPECT_GT(passes, 0);
    EXPECT_GT(finished, 0);
}

TEST(DiagramReader, StartPositionOnlyIsAnEmptyGame) {
    const DiagramReadResult read = ReadGameRecordText(StartDiagram());
    ASSERT_EQ(read.error, DiagramError::None);
    EXPECT_EQ(read.history.moveCount, 0);
    EXPECT_EQ(read.history.sideAtPly[0], White);
}

TEST(DiagramReader, BareLineFeedsAreAccepted) {
    std::string text = StartDiagram();
    std::string bare;
    for (char c : text)
        if (c != '\r') bare += c;
    EXPECT_EQ(ReadGameRecordText(bare).error, DiagramError::None);
}

struct BadDiagram {
    const char* label;
    std::string text;
    DiagramError error;
    int moveNumber;  // for numbering and move errors
};

std::vector<BadDiagram> BadDiagrams() {
    const std::string start = StartDiagram();
    // White 19 (column 2, row 3) is legal at the start; black's reply 20 (column 2, row 4).
    const std::string twoMoves = WithCell(WithCell(start, 2, 3, "o1 "), 2, 4, "x2 ");
    return {
        {"empty file", "", DiagramError::WrongLayout, 0},
        {"one byte short", start.substr(0, 207), DiagramError::WrongLayout, 0},
        {"extra byte", start + "\n", DiagramError::WrongLayout, 0},
        {"missing last line end", start.substr(0, 206), DiagramError::WrongLayout, 0},
        {"line too long", WithCell(start, 7, 0, "-   "), DiagramError::WrongLayout, 0},
        {"binary bytes", std::string(208, '\0'), DiagramError::WrongLayout, 0},
        {"unknown letter", WithCell(start, 0, 0, "z  "), DiagramError::BadCell, 0},
        {"number without a stone", WithCell(start, 0, 0, "-1 "), DiagramError::BadCell, 0},
        {"stone without a number", WithCell(start, 0, 0, "x  "), DiagramError::BadCell, 0},
        {"start square numbered", WithCell(start, 3, 3, "o1 "), DiagramError::BadCell, 0},
        {"start stone recoloured", WithCell(start, 3, 3, "x  "), DiagramError::BadCell, 0},
        {"number zero", WithCell(start, 2, 3, "o0 "), DiagramError::BadCell, 0},
        {"right-aligned number", WithCell(start, 2, 3, "o 1"), DiagramError::BadCell, 0},
        {"number above 60", WithCell(start, 2, 3, "o61"), DiagramError::BadCell, 0},
        {"leading zero", WithCell(start, 2, 3, "o01"), DiagramError::BadCell, 0},
        {"number repeated", WithCell(twoMoves, 2, 4, "x1 "), DiagramError::BadNumbering, 1},
        {"gap in the numbers", WithCell(twoMoves, 2, 4, "x3 "), DiagramError::BadNumbering, 2},
        {"black moves first", WithCell(start, 2, 3, "x1 "), DiagramError::IllegalMove, 1},
        {"square that turns nothing", WithCell(start, 0, 0, "o1 "), DiagramError::IllegalMove, 1},
        {"same colour twice without a pass", WithCell(twoMoves, 2, 4, "o2 "),
         DiagramError::IllegalMove, 2},
    };
}

TEST(DiagramReader, DamagedDiagramsAreRefusedWithTheirFault) {
    for (const BadDiagram& bad : BadDiagrams()) {
        SCOPED_TRACE(bad.label);
        const DiagramReadResult read = ReadGameRecordText(bad.text);
        EXPECT_EQ(read.error, bad.error);
        if (bad.error == DiagramError::BadNumbering || bad.error == DiagramError::IllegalMove) {
            EXPECT_EQ(read.moveNumber, bad.moveNumber);
        }
        EXPECT_EQ(read.history.moveCount, 0);
    }
}

TEST(DiagramReader, BadCellNamesItsColumnAndRow) {
    const DiagramReadResult read = ReadGameRecordText(WithCell(StartDiagram(), 5, 6, "q  "));
    EXPECT_EQ(read.error, DiagramError::BadCell);
    EXPECT_EQ(read.column, 5);
    EXPECT_EQ(read.row, 6);
}

TEST(DiagramReader, RandomByteChangesAreRefusedOrRoundTrip) {
    std::mt19937 random(7);
    const std::string valid = GameRecordText(RandomGame(random, 30));
    for (int i = 0; i < 3000; ++i) {
        std::string text = valid;
        // Change one to four bytes to arbitrary values; most such files are refused, and
        // whatever is accepted must describe a game that writes back to the same text.
        const int changes = 1 + i % 4;
        for (int k = 0; k < changes; ++k)
            text[std::uniform_int_distribution<int>(0, 207)(random)] =
                static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
        const DiagramReadResult read = ReadGameRecordText(text);
        if (read.error == DiagramError::None) {
            EXPECT_EQ(GameRecordText(read.history), text);
        }
    }
}

}  // namespace
}  // namespace vell
