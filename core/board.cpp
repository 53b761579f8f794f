#include "core/board.h"

#include <bit>

namespace vell {

void SetStartPosition(Board& board) {
    board.fill(Empty);
    board[27] = White;
    board[28] = Black;
    board[35] = Black;
    board[36] = White;
}

Board StartPosition() {
    Board board;
    SetStartPosition(board);
    return board;
}

Bitboard StonesOf(const Board& board, int colour) {
    Bitboard b = 0;
    for (int s = 0; s < 64; ++s)
        if (board[s] == colour) b |= SquareBB(s);
    return b;
}

void FromBitboards(Bitboard black, Bitboard white, Board& board) {
    for (int s = 0; s < 64; ++s)
        board[s] = (black & SquareBB(s)) ? Black : (white & SquareBB(s)) ? White : Empty;
}

int TryMove(const Board& source, Board& destination, int square, int colour) {
    const Bitboard flips = Flips(StonesOf(source, colour), StonesOf(source, 1 - colour), square);
    destination = source;
    destination[square] = static_cast<std::int8_t>(colour);
    for (Bitboard f = flips; f; f &= f - 1)
        destination[std::countr_zero(f)] = colour;
    return 1 + std::popcount(flips);
}

int PlayMove(Board& board, int square, int colour) {
    if (square == PassSquare) return 0;
    const Bitboard flips = Flips(StonesOf(board, colour), StonesOf(board, 1 - colour), square);
    board[square] = static_cast<std::int8_t>(colour);
    for (Bitboard f = flips; f; f &= f - 1)
        board[std::countr_zero(f)] = colour;
    return 1 + std::popcount(flips);
}

int CountLegalMoves(const Board& board, int colour, LegalMap* map) {
    const Bitboard moves = LegalMoves(StonesOf(board, colour), StonesOf(board, 1 - colour));
    if (map)
        for (int s = 0; s < 64; ++s)
            (*map)[s] = (moves >> s) & 1;
    return std::popcount(moves);
}

StoneCounts CountStones(const Board& board) {
    StoneCounts counts{0, 0, 0};
    for (int s = 0; s < 64; ++s)
        ++counts[board[s]];
    return counts;
}

std::string BoardToText(const Board& board) {
    std::string text(64, '-');
    for (int s = 0; s < 64; ++s)
        text[s] = "xo-"[board[s]];
    return text;
}

bool BoardFromText(std::string_view text, Board& board) {
    if (text.size() != 64) return false;
    Board parsed;
    for (int s = 0; s < 64; ++s) {
        switch (text[s]) {
            case 'x':
                parsed[s] = Black;
                break;
            case 'o':
                parsed[s] = White;
                break;
            case '-':
                parsed[s] = Empty;
                break;
            default:
                return false;
        }
    }
    board = parsed;
    return true;
}

}  // namespace vell
