#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/game_record.h"
#include "learning/weights.h"

namespace vell {

// The game of one game-log line (vellkif.txt): "N e BLACK B ( 35 0 120) WHITE W ( 35 0 120)
// MOVES +0", the moves as sign (+ black, - white), column and row from 1. False for a line that
// is not such a game (read as ReadGameLogLine does): bad fields, a move out of turn or illegal,
// or stone counts that the moves do not give.
bool GameFromLogLine(const std::string& line, GameRecord& record);

// The games of a game log, in file order, and how many lines were not games.
struct GameLog {
    std::vector<GameRecord> games;
    int skipped = 0;
};

// Reads every line of `file` (or its last `last` lines). Throws std::runtime_error naming the
// file when it cannot be read.
GameLog ReadGameLog(const std::filesystem::path& file, std::size_t last = SIZE_MAX);

// MeasureError over a fixed set of games, each weighed alike: the mean over the games of their
// squared prediction error per position (divided by 60 per game, as MeasureError does), in
// squared discs. 0.0 for no games. Training never sees these games, so this is the measure of
// what the weights carry over to games they have not been fitted to.
double HeldOutError(const std::vector<GameRecord>& games, const WeightTable& weights);

}  // namespace vell
