#include "learning/game_log.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>

#include "core/board.h"
#include "core/game_log.h"
#include "core/history.h"
#include "learning/game_database.h"

namespace vell {

bool GameFromLogLine(const std::string& line, GameRecord& record) {
    const GameLogReadResult read = ReadGameLogLine(line);
    if (read.error != GameLogError::None) return false;
    record = MakeGameRecord(read.history, read.history.boardAtPly[read.history.moveCount]);
    return true;
}

GameLog ReadGameLog(const std::filesystem::path& file, std::size_t last) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error(file.string() + ": cannot be read");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(std::move(line));
    if (in.bad()) throw std::runtime_error(file.string() + ": read error");
    const std::size_t first = lines.size() > last ? lines.size() - last : 0;
    GameLog log;
    for (std::size_t i = first; i < lines.size(); ++i) {
        GameRecord record;
        if (GameFromLogLine(lines[i], record))
            log.games.push_back(record);
        else
            ++log.skipped;
    }
    return log;
}

double HeldOutError(const std::vector<GameRecord>& games, const WeightTable& weights) {
    if (games.empty()) return 0.0;
    double sum = 0.0;
    GameDatabase database;
    for (const GameRecord& game : games) {
        database.Clear();
        database.Store(game);
        sum += MeasureError(database, weights);
    }
    return sum / static_cast<double>(games.size());
}

}  // namespace vell
