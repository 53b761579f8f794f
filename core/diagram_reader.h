#pragma once

#include <string_view>

#include "core/history.h"

namespace vell {

// Why a text is not a game-record diagram.
enum class DiagramError {
    None,
    WrongLayout,   // not 8 lines of 24 characters, each ending in CR LF (or a bare LF)
    BadCell,       // a cell that no recorded game can show (see `column`, `row`)
    BadNumbering,  // the move numbers do not run 1, 2, ... once each (see `moveNumber`)
    IllegalMove,   // a move the rules do not allow at its point of the game (see `moveNumber`)
};

struct DiagramReadResult {
    DiagramError error = DiagramError::None;
    int column = -1, row = -1;  // the cell at fault for BadCell
    int moveNumber = 0;         // the move at fault for BadNumbering and IllegalMove
    GameHistory history;        // the game, when error is None; untouched otherwise
};

// Reads a game-record diagram as GameRecordText writes it back into a history at its first
// position (currentPly 0). The numbered cells are replayed in number order from the start
// position, white first: each move must be legal for its colour, and the colour must be the
// side the rules give the turn to, so a change of the usual alternation is a forced pass.
DiagramReadResult ReadGameRecordText(std::string_view text);

}  // namespace vell
