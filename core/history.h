#pragma once

#include <array>
#include <string>

#include "core/board.h"
#include "core/game_record.h"

namespace vell {

// The moves of the game so far. Move m (1..moveCount) leads from ply m - 1 to ply m; its colour
// is sideAtPly[m - 1] and its square moveColumn[m] * 8 + moveRow[m]. A pass is not a move.
struct GameHistory {
    std::array<int, 64> sideAtPly{};
    std::array<int, 64> moveColumn{};
    std::array<int, 64> moveRow{};
    std::array<Board, 64> boardAtPly{};
    int currentPly = 0;
    int moveCount = 0;

    // An empty history starting from `start` with `side` to move.
    void Reset(const Board& start, int side);
    // Appends move moveCount + 1: `side` placed on `square`, giving `after`. Readers of stored
    // games build their history with it; the caller has checked the move is legal.
    void Append(int side, int square, const Board& after);
    int SquareOfMove(int m) const { return moveColumn[m] * 8 + moveRow[m]; }
};

// The store step of a finished game: moves 1..moveCount and the final stone difference.
GameRecord MakeGameRecord(const GameHistory& history, const Board& finalBoard);

// The game-record diagram: 8 lines of 8 three-character cells, each line ending in CR LF
// (208 bytes). Every recorded move shows in the colour it was placed in, with its number.
std::string GameRecordText(const GameHistory& history);

// One line of the game log, ending in "\n": the training game count, both player types with
// their final stone counts, the moves, " +0". A player type outside 0..4 is written as its
// number.
std::string GameLogLine(const GameHistory& history, int trainingGames, int blackType, int whiteType,
                        const StoneCounts& counts);

}  // namespace vell
