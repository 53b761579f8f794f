#include "core/history.h"

#include <cstdio>

#include "core/player_names.h"

namespace vell {

void GameHistory::Reset(const Board& start, int side) {
    sideAtPly.fill(side);
    moveColumn.fill(-1);
    moveRow.fill(-1);
    boardAtPly[0] = start;
    currentPly = 0;
    moveCount = 0;
}

void GameHistory::Append(int side, int square, const Board& after) {
    sideAtPly[moveCount] = side;
    ++moveCount;
    moveColumn[moveCount] = square / 8;
    moveRow[moveCount] = square % 8;
    boardAtPly[moveCount] = after;
}

GameRecord MakeGameRecord(const GameHistory& history, const Board& finalBoard) {
    GameRecord record;
    for (int m = 1; m <= history.moveCount; ++m)
        record.bytes[1 + m] =
            static_cast<std::uint8_t>(history.sideAtPly[m - 1] * 64 + history.SquareOfMove(m));
    const StoneCounts counts = CountStones(finalBoard);
    record.bytes[1] = static_cast<std::uint8_t>(history.moveCount);
    record.bytes[0] = static_cast<std::uint8_t>(static_cast<std::int8_t>(counts[0] - counts[1]));
    return record;
}

std::string GameRecordText(const GameHistory& history) {
    Board colours = StartPosition();
    std::array<int, 64> numbers{};
    for (int m = 1; m <= history.moveCount; ++m) {
        const int s = history.SquareOfMove(m);
        colours[s] = static_cast<std::int8_t>(history.sideAtPly[m - 1]);
        numbers[s] = m;
    }
    std::string text;
    text.reserve(208);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int s = x * 8 + y;
            char cell[8];
            if (numbers[s] != 0)
                std::snprintf(cell, sizeof cell, "%c%-2d", "xo-"[colours[s]], numbers[s]);
            else
                std::snprintf(cell, sizeof cell, "%c  ", "xo-"[colours[s]]);
            text += cell;
        }
        text += "\r\n";
    }
    return text;
}

namespace {

// The name of a player type, or its number when a hand-edited setting lies outside the table.
std::string PlayerName(int type) {
    if (type >= 0 && type < PlayerTypeCount) return std::string(PlayerTypeNames[type]);
    return std::to_string(type);
}

}  // namespace

std::string GameLogLine(const GameHistory& history, int trainingGames, int blackType, int whiteType,
                        const StoneCounts& counts) {
    char head[160];
    std::snprintf(head, sizeof head, "%9d e %-8s %2d ( 35 0 120) %-8s %2d ( 35 0 120) ",
                  trainingGames, PlayerName(blackType).c_str(), counts[Black],
                  PlayerName(whiteType).c_str(), counts[White]);
    std::string line = head;
    for (int m = 1; m <= history.moveCount; ++m) {
        line += history.sideAtPly[m - 1] == Black ? '+' : '-';
        line += static_cast<char>('1' + history.moveColumn[m]);
        line += static_cast<char>('1' + history.moveRow[m]);
    }
    line += " +0\n";
    return line;
}

}  // namespace vell
