#pragma once

#include <bit>
#include <random>
#include <vector>

#include "core/bitboard.h"
#include "core/board.h"
#include "core/history.h"

namespace vell::test {

// `count` boards reached by random legal play from the start position (white first; a side
// without a move passes): every position of each game in order, as many games as it takes.
inline std::vector<Board> RandomPlayBoards(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::vector<Board> boards;
    while (static_cast<int>(boards.size()) < count) {
        Board board = StartPosition();
        int side = White;
        for (;;) {
            boards.push_back(board);
            if (static_cast<int>(boards.size()) == count) break;
            Bitboard moves = LegalMoves(StonesOf(board, side), StonesOf(board, 1 - side));
            if (!moves) {
                side = 1 - side;
                moves = LegalMoves(StonesOf(board, side), StonesOf(board, 1 - side));
                if (!moves) break;
            }
            int pick = std::uniform_int_distribution<int>(0, std::popcount(moves) - 1)(random);
            while (pick-- > 0)
                moves &= moves - 1;
            PlayMove(board, std::countr_zero(moves), side);
            side = 1 - side;
        }
    }
    return boards;
}

// A random legal game from the start position, recorded as the game flow records it: white
// first, the opponent moves if it can, else the mover moves again (a pass); it ends when neither
// side can move or after `maxMoves` moves. sideAtPly[m] is the side to move at ply m.
inline GameHistory RandomGame(std::mt19937& random, int maxMoves = 60) {
    GameHistory history;
    Board board = StartPosition();
    int side = White;
    history.Reset(board, side);
    while (history.moveCount < maxMoves) {
        Bitboard moves = LegalMoves(StonesOf(board, side), StonesOf(board, 1 - side));
        if (!moves) break;
        int pick = std::uniform_int_distribution<int>(0, std::popcount(moves) - 1)(random);
        while (pick-- > 0)
            moves &= moves - 1;
        const int square = std::countr_zero(moves);
        PlayMove(board, square, side);
        history.Append(side, square, board);
        if (LegalMoves(StonesOf(board, 1 - side), StonesOf(board, side))) side = 1 - side;
        history.sideAtPly[history.moveCount] = side;
    }
    return history;
}

// A board with every square drawn at random from black, white and empty.
inline Board RandomBoard(std::mt19937& random) {
    Board board;
    for (auto& square : board)
        square = static_cast<std::int8_t>(std::uniform_int_distribution<int>(0, 2)(random));
    return board;
}

}  // namespace vell::test
