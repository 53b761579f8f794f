#pragma once

#include <array>
#include <iosfwd>

#include "core/board.h"
#include "core/game_record.h"
#include "learning/weights.h"

namespace vell {

// The finished games waiting for training. A game is trained on right after it ends and the
// database is emptied again, so one slot is enough.
class GameDatabase {
  public:
    static constexpr int Capacity = 1;

    // Stores `record` in the next free slot; false (nothing stored) when every slot is taken.
    bool Store(const GameRecord& record);
    void Clear() { count = 0; }
    int Count() const { return count; }
    const GameRecord& Game(int g) const { return records[static_cast<std::size_t>(g)]; }

  private:
    std::array<GameRecord, Capacity> records{};
    int count = 0;
};

// Moves a record can hold; a damaged move count is read within 0..MaxRecordMoves.
constexpr int MaxRecordMoves = 60;

// The number of moves of `record`, clamped into 0..MaxRecordMoves.
int RecordedMoves(const GameRecord& record);

// Plays move k of `record` in place. A move whose colour field is neither black nor white
// (a damaged record) leaves its square empty.
void PlayRecordedMove(Board& board, const GameRecord& record, int k);

// The position of stored game g before its move t: the start position with moves 0..t-1 played
// in place (t is clamped into 0..N, so t = 0 gives the start position and t > N the final one).
// A square left holding an impossible value (a damaged colour field) is reported on
// `diagnostics` as "E IOSNo=g Te=t\n i=square N=last square Turn=last colour\n" and emptied, so
// the evaluation always reads black, white or empty; the replay never waits for input.
void ReplayGame(const GameDatabase& database, int g, int t, Board& board,
                std::ostream& diagnostics);
// The same, reporting on standard error.
void ReplayGame(const GameDatabase& database, int g, int t, Board& board);

// The mean squared prediction error of the pattern evaluation over the stored games, in squared
// discs: every position before moves 0..N-1 (at most 60) is compared with the game's result,
// and the sum is divided by 60 per game whatever N is. 0.0 when the database is empty.
double MeasureError(const GameDatabase& database, const WeightTable& weights);

}  // namespace vell
