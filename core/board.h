#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/bitboard.h"

namespace vell {

// One signed byte per square, square = column * 8 + row; values Black, White or Empty.
using Board = std::array<std::int8_t, 64>;

// Colours are ints: Black 0, White 1; the opponent of c is 1 - c. Square values share them.
constexpr int Black = 0;
constexpr int White = 1;
constexpr int Empty = 2;

// Marks a pass in stored move lists: a centre square, occupied from the start.
constexpr int PassSquare = 27;

// 1 where the counted colour has a legal move, else 0.
using LegalMap = std::array<int, 64>;

// Indexed by square value: [0] black stones, [1] white stones, [2] empty squares.
using StoneCounts = std::array<int, 3>;

// The start position: 27 and 36 white, 28 and 35 black, the rest empty.
void SetStartPosition(Board& board);
Board StartPosition();

// Copies source into destination, places `colour` on `square` in destination and turns the
// stones the capture rule turns (judged on source). Returns 1 + stones turned; 1 means the move
// is illegal. The caller has checked that the square is empty.
int TryMove(const Board& source, Board& destination, int square, int colour);

// The same move made in place, without a legality test. PassSquare returns 0 and changes nothing.
int PlayMove(Board& board, int square, int colour);

// Number of legal moves of `colour`; when `map` is given it is rewritten for all 64 squares.
int CountLegalMoves(const Board& board, int colour, LegalMap* map = nullptr);

StoneCounts CountStones(const Board& board);

// Bitboards of one colour's stones; the conversion at the edge of the hot paths.
Bitboard StonesOf(const Board& board, int colour);
void FromBitboards(Bitboard black, Bitboard white, Board& board);

// Board text: 64 characters, character i is square i: 'x' black, 'o' white, '-' empty.
std::string BoardToText(const Board& board);
// False (board untouched) unless text is exactly 64 of those characters.
bool BoardFromText(std::string_view text, Board& board);

}  // namespace vell
