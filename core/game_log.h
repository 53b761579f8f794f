#pragma once

#include <string>
#include <string_view>

#include "core/board.h"
#include "core/history.h"

namespace vell {

// Why a game-log line does not give a game.
enum class GameLogError {
    None,
    WrongLayout,  // not "N e BLACK B ( 35 0 120) WHITE W ( 35 0 120) MOVES +0"
    BadMove,      // move `moveNumber` is not a sign (+ or -) and a column and row from 1 to 8
    WrongSide,    // move `moveNumber` is by the colour whose turn it is not
    AfterTheEnd,  // move `moveNumber` follows a position where neither side can move
    IllegalMove,  // move `moveNumber` is on an occupied square or turns nothing
    StoneCounts,  // the moves replay, but their final stones are not the line's counts
};

struct GameLogReadResult {
    GameLogError error = GameLogError::None;
    int moveNumber = 0;         // the move at fault, 1-based (all but WrongLayout, StoneCounts)
    std::string moveText;       // that move as the line writes it ("+35")
    StoneCounts lineCounts{};   // black and white as the line gives them, for StoneCounts
    StoneCounts movesCounts{};  // black and white after the moves, for StoneCounts
    GameHistory history;        // the game, when error is None; untouched otherwise
};

// Reads one line of the game log as GameLogLine writes it (a trailing CR or LF is ignored) into
// a history at its first position (currentPly 0). The moves are replayed from the start
// position, white first: after each move the opponent moves if it can, else the mover again
// (the log writes no passes), and once neither can no move may follow.
GameLogReadResult ReadGameLogLine(std::string_view line);

}  // namespace vell
