#include "core/game_log.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/history.h"
#include "core/player_names.h"
#include "tests/support/random_play.h"

namespace vell {
namespace {

// A random game played to its end as the game flow plays it, from the first seed at or after
// `seed` whose game has a pass (so the log line has one colour twice in a row).
GameHistory RandomGameWithPass(unsigned seed) {
    for (;; ++seed) {
        std::mt19937 random(seed);
        const GameHistory history = test::RandomGame(random);
        for (int m = 1; m < history.moveCount; ++m)
            if (history.sideAtPly[m] == history.sideAtPly[m - 1]) return history;
    }
}

std::string LineOf(const GameHistory& history) {
    return GameLogLine(history, 12, CpuPat2Player, Cpu1Player,
                       CountStones(history.boardAtPly[history.moveCount]));
}

TEST(GameLogReader, ReadsBackTheGameItWasWrittenFrom) {
    const GameHistory game = RandomGameWithPass(1);
    std::string line = LineOf(game);
    line.pop_back();
    line += "\r\n";  // as a log written with CR LF line ends
    const GameLogReadResult read = ReadGameLogLine(line);
    ASSERT_EQ(read.error, GameLogError::None);
    const GameHistory& h = read.history;
    ASSERT_EQ(h.moveCount, game.moveCount);
    EXPECT_EQ(h.currentPly, 0);
    for (int m = 0; m <= game.moveCount; ++m) {
        EXPECT_EQ(h.sideAtPly[m], game.sideAtPly[m]) << "ply " << m;
        EXPECT_EQ(h.boardAtPly[m], game.boardAtPly[m]) << "ply " << m;
        if (m > 0) {
            EXPECT_EQ(h.SquareOfMove(m), game.SquareOfMove(m)) << "move " << m;
        }
    }
}

TEST(GameLogReader, NamesTheMoveThatDoesNotReplay) {
    const auto line = [](const std::string& moves, int black = 2, int white = 2) {
        return "        0 e CPU-PAT2 " + std::to_string(black) + " ( 35 0 120) CPU-1    " +
               std::to_string(white) + " ( 35 0 120) " + moves + " +0";
    };
    const std::string game = LineOf(RandomGameWithPass(1));
    const int moves = static_cast<int>(game.size() - 64) / 3;
    const std::string gameMoves = game.substr(60, 3 * static_cast<std::size_t>(moves));
    struct Row {
        const char* label;
        std::string line;
        GameLogError error;
        int moveNumber;
        std::string moveText;
    };
    // White 19 (column 3, row 4 from 1) turns 28; black 20 then turns 27.
    const Row rows[] = {
        {"not a log line", "garbage", GameLogError::WrongLayout, 0, ""},
        {"no tail", "        0 e CPU-PAT2  2 ( 35 0 120) CPU-1     2 ( 35 0 120) -34",
         GameLogError::WrongLayout, 0, ""},
        {"short move", line("-34+3"), GameLogError::BadMove, 2, "+3"},
        {"row 9", line("-34+39"), GameLogError::BadMove, 2, "+39"},
        {"black first", line("+34"), GameLogError::WrongSide, 1, "+34"},
        {"white twice", line("-34-35"), GameLogError::WrongSide, 2, "-35"},
        {"turns nothing", line("-11"), GameLogError::IllegalMove, 1, "-11"},
        {"occupied", line("-34+34"), GameLogError::IllegalMove, 2, "+34"},
        {"after the end", line(gameMoves + "+11"), GameLogError::AfterTheEnd, moves + 1, "+11"},
        {"wrong counts", line("-34", 2, 2), GameLogError::StoneCounts, 0, ""},
        {"no moves", line(""), GameLogError::None, 0, ""},
    };
    for (const Row& row : rows) {
        const GameLogReadResult read = ReadGameLogLine(row.line);
        EXPECT_EQ(read.error, row.error) << row.label << ": " << row.line;
        EXPECT_EQ(read.moveNumber, row.moveNumber) << row.label;
        EXPECT_EQ(read.moveText, row.moveText) << row.label;
    }
    const GameLogReadResult counts = ReadGameLogLine(line("-34", 2, 2));
    EXPECT_EQ(counts.movesCounts[Black], 1);
    EXPECT_EQ(counts.movesCounts[White], 4);
}

}  // namespace
}  // namespace vell
