#include "learning/game_database.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "learning/pattern_eval.h"

namespace vell {

bool GameDatabase::Store(const GameRecord& record) {
    if (count >= Capacity) return false;
    records[static_cast<std::size_t>(count++)] = record;
    return true;
}

int RecordedMoves(const GameRecord& record) {
    return std::clamp(record.MoveCount(), 0, MaxRecordMoves);
}

void PlayRecordedMove(Board& board, const GameRecord& record, int k) {
    const int colour = record.Colour(k);
    if (colour == Black || colour == White)
        PlayMove(board, record.Square(k), colour);
    else
        board[record.Square(k)] = Empty;
}

void ReplayGame(const GameDatabase& database, int g, int t, Board& board,
                std::ostream& diagnostics) {
    const GameRecord& record = database.Game(g);
    SetStartPosition(board);
    t = std::clamp(t, 0, RecordedMoves(record));
    for (int k = 0; k < t; ++k) {
        // The damaged colour is placed as it stands, so the check below finds and reports it.
        const int colour = record.Colour(k);
        if (colour == Black || colour == White)
            PlayMove(board, record.Square(k), colour);
        else
            board[record.Square(k)] = static_cast<std::int8_t>(colour);
    }
    for (int i = 0; i < 64; ++i) {
        if (board[i] >= Black && board[i] <= Empty) continue;
        const int last = record.bytes[static_cast<std::size_t>(t + 1)];
        char text[96];
        std::snprintf(text, sizeof text, "E IOSNo=%d Te=%d\n i=%d N=%d Turn=%d\n", g, t, i,
                      last & 63, last >> 6);
        diagnostics << text << std::flush;
        board[i] = Empty;
    }
}

void ReplayGame(const GameDatabase& database, int g, int t, Board& board) {
    ReplayGame(database, g, t, board, std::cerr);
}

double MeasureError(const GameDatabase& database, const WeightTable& weights) {
    if (database.Count() == 0) return 0.0;
    double sum = 0.0;
    for (int g = 0; g < database.Count(); ++g) {
        const GameRecord& record = database.Game(g);
        PositionRecord position;
        ReplayGame(database, g, 0, position.board);
        const int moves = RecordedMoves(record);
        for (int j = 0; j < moves; ++j) {
            position.turn = record.Colour(j) == White ? White : Black;
            const int value = PatternEvaluate(position, weights);
            const double error = (std::int64_t{record.Result()} * 1000 - value) * 0.001;
            sum += error * error;
            PlayRecordedMove(position.board, record, j);
        }
    }
    return sum / database.Count() * 0.016666666666666666;
}

}  // namespace vell
