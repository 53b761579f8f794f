#include "learning/game_log.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/board.h"
#include "learning/game_database.h"

namespace vell {

bool GameFromLogLine(const std::string& line, GameRecord& record) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string field; in >> field;)
        fields.push_back(field);
    if (fields.size() != 15 && fields.size() != 16) return false;
    if (fields[1] != "e" || fields.back() != "+0") return false;
    const std::string moves = fields.size() == 16 ? fields[14] : "";
    if (moves.size() % 3 != 0 || moves.size() / 3 > 60) return false;
    Board board = StartPosition();
    record = GameRecord{};
    for (std::size_t k = 0; k < moves.size() / 3; ++k) {
        const char sign = moves[3 * k], column = moves[3 * k + 1], row = moves[3 * k + 2];
        if ((sign != '+' && sign != '-') || column < '1' || column > '8' || row < '1' || row > '8')
            return false;
        const int colour = sign == '+' ? Black : White;
        const int square = (column - '1') * 8 + (row - '1');
        Board next;
        if (board[square] != Empty || TryMove(board, next, square, colour) == 1) return false;
        board = next;
        record.bytes[2 + k] = static_cast<std::uint8_t>(colour * 64 + square);
    }
    const StoneCounts counts = CountStones(board);
    if (fields[3] != std::to_string(counts[Black]) || fields[9] != std::to_string(counts[White]))
        return false;
    record.bytes[0] =
        static_cast<std::uint8_t>(static_cast<std::int8_t>(counts[Black] - counts[White]));
    record.bytes[1] = static_cast<std::uint8_t>(moves.size() / 3);
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
