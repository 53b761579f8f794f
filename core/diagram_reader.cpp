#include "core/diagram_reader.h"

#include <array>

namespace vell {

namespace {

constexpr int CellsPerLine = 8;
constexpr int CellChars = 3;
constexpr int LineChars = CellsPerLine * CellChars;

// The letter of one cell and its move number (0 for none).
struct Cell {
    int colour = Empty;
    int number = 0;
};

int ColourOfLetter(char letter) {
    switch (letter) {
        case 'x':
            return Black;
        case 'o':
            return White;
        case '-':
            return Empty;
        default:
            return -1;
    }
}

// A number field: "n " for 1..9 or "nn" for 10..60, as "%-2d" writes it; "  " is no number.
// Returns -1 for anything else.
int ParseNumber(char first, char second) {
    if (first == ' ' && second == ' ') return 0;
    if (first < '1' || first > '9') return -1;
    if (second == ' ') return first - '0';
    if (second < '0' || second > '9') return -1;
    const int number = (first - '0') * 10 + (second - '0');
    return number <= 60 ? number : -1;
}

// Splits the text into its 64 cells; false when the lines are not laid out as written.
bool SplitCells(std::string_view text, std::array<std::string_view, 64>& cells) {
    std::size_t pos = 0;
    for (int y = 0; y < 8; ++y) {
        if (text.size() - pos < LineChars + 1) return false;
        const std::string_view line = text.substr(pos, LineChars);
        if (line.find_first_of("\r\n") != std::string_view::npos) return false;
        pos += LineChars;
        if (text[pos] == '\r') ++pos;
        if (pos >= text.size() || text[pos] != '\n') return false;
        ++pos;
        for (int x = 0; x < CellsPerLine; ++x)
            cells[x * 8 + y] = line.substr(x * CellChars, CellChars);
    }
    return pos == text.size();
}

}  // namespace

DiagramReadResult ReadGameRecordText(std::string_view text) {
    DiagramReadResult result;
    std::array<std::string_view, 64> texts;
    if (!SplitCells(text, texts)) {
        result.error = DiagramError::WrongLayout;
        return result;
    }

    // Each cell must be one a recorded game can show: a start square keeps its start letter
    // and no number (it is never played), a numbered cell shows a stone, any other is "-  ".
    const Board start = StartPosition();
    std::array<Cell, 64> cells;
    std::array<int, 61> squareOfNumber;
    squareOfNumber.fill(-1);
    int numbered = 0;
    for (int s = 0; s < 64; ++s) {
        const std::string_view t = texts[s];
        Cell cell{ColourOfLetter(t[0]), ParseNumber(t[1], t[2])};
        const bool valid = cell.colour >= 0 && cell.number >= 0 &&
                           (start[s] != Empty ? cell.number == 0 && cell.colour == start[s]
                                              : (cell.number == 0) == (cell.colour == Empty));
        if (!valid) {
            result.error = DiagramError::BadCell;
            result.column = s / 8;
            result.row = s % 8;
            return result;
        }
        if (cell.number != 0) {
            if (squareOfNumber[cell.number] != -1) {
                result.error = DiagramError::BadNumbering;
                result.moveNumber = cell.number;
                return result;
            }
            squareOfNumber[cell.number] = s;
            ++numbered;
        }
        cells[s] = cell;
    }
    for (int m = 1; m <= numbered; ++m) {
        if (squareOfNumber[m] == -1) {
            result.error = DiagramError::BadNumbering;
            result.moveNumber = m;
            return result;
        }
    }

    // Replay: after each move the opponent moves if it can, else the mover again (a pass). When
    // neither can, a further move has no legal square and is refused as illegal.
    GameHistory history;
    Board board = start;
    int side = White;
    history.Reset(board, side);
    for (int m = 1; m <= numbered; ++m) {
        const int square = squareOfNumber[m];
        Board next;
        if (cells[square].colour != side || TryMove(board, next, square, side) <= 1) {
            result.error = DiagramError::IllegalMove;
            result.moveNumber = m;
            return result;
        }
        history.Append(side, square, next);
        board = next;
        if (CountLegalMoves(board, 1 - side) > 0) side = 1 - side;
    }
    // The final position keeps the colour that made the last move when nobody can move, as
    // the game flow leaves it at the end of a game.
    history.sideAtPly[numbered] = side;
    history.currentPly = 0;
    result.history = history;
    return result;
}

}  // namespace vell
