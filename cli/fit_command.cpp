#include <climits>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "core/board.h"
#include "core/game_record.h"
#include "learning/offline_fit.h"
#include "learning/weight_file.h"

namespace vell::cli {

namespace {

// The game of one game-log line: "N e BLACK B ( 35 0 120) WHITE W ( 35 0 120) MOVES +0", the
// moves as sign (+ black, - white), column and row from 1. False for a line that is not such a
// game: bad fields, an illegal move, or stone counts that the moves do not give.
bool ParseGameLine(const std::string& line, GameRecord& record) {
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

}  // namespace

// An offline fit of the pattern weights to the games of a game log (vellkif.txt).
int RunFit(const std::vector<std::string>& argv) {
    Args args(
        argv,
        {{"--log", true}, {"--out", true}, {"--last", true}, {"--epochs", true}, {"--seed", true}},
        0);
    if (!args.Has("--log") || !args.Has("--out"))
        throw UsageError("--log FILE and --out FILE are required");
    const std::string logFile = *args.Value("--log");
    const std::string outFile = *args.Value("--out");
    const auto last = static_cast<std::size_t>(args.Integer("--last", INT_MAX, 1, INT_MAX));
    FitOptions options;
    options.epochs = static_cast<int>(args.Integer("--epochs", options.epochs, 1, 1000));
    options.seed = static_cast<std::uint32_t>(args.Integer("--seed", 1, 0, UINT32_MAX));

    std::ifstream log(logFile, std::ios::binary);
    if (!log) throw std::runtime_error(logFile + ": cannot be read");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(std::move(line));
    if (log.bad()) throw std::runtime_error(logFile + ": read error");
    const std::size_t first = lines.size() > last ? lines.size() - last : 0;

    std::vector<FitSample> samples;
    int games = 0, skipped = 0;
    for (std::size_t i = first; i < lines.size(); ++i) {
        GameRecord record;
        if (ParseGameLine(lines[i], record)) {
            AppendGameSamples(record, samples);
            ++games;
        } else {
            ++skipped;
        }
    }
    lines = {};
    // The held-out error of zero weights, for comparison with the fit's.
    const auto held =
        static_cast<std::size_t>(static_cast<double>(samples.size()) * options.holdOut);
    double zeroError = 0.0;
    for (std::size_t i = samples.size() - held; i < samples.size(); ++i)
        zeroError += double(samples[i].result) * samples[i].result;
    std::cerr << "fit: games=" << games << " skipped=" << skipped << " positions=" << samples.size()
              << " held-out-zero=" << (held ? zeroError / static_cast<double>(held) : 0.0) << "\n";
    if (games == 0) throw std::runtime_error(logFile + ": no game to fit");

    Weights weights;
    weights.table = FitWeights(samples, options, [](const FitEpoch& epoch) {
        char line[120];
        std::snprintf(line, sizeof line, "fit: epoch=%d error=%lf held-out=%lf", epoch.epoch,
                      epoch.fitError, epoch.holdOutError);
        std::cerr << line << "\n";
    });
    weights.header.major = 4;
    weights.header.minor = 0;
    weights.header.revision = 1;
    weights.header.trainingGames = games;
    const WeightSaveStatus status = WriteWeightFile(outFile, weights);
    if (!status.ok) throw std::runtime_error(status.message);
    std::cout << "games=" << games << " positions=" << samples.size() << "\n";
    return 0;
}

}  // namespace vell::cli
