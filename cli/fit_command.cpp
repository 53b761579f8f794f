#include <climits>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "core/board.h"
#include "core/game_record.h"
#include "learning/game_log.h"
#include "learning/offline_fit.h"
#include "learning/weight_file.h"

namespace vell::cli {

// An offline fit of the pattern weights to the games of a game log (vellkif.txt).
int RunFit(const std::vector<std::string>& argv) {
    Args args(argv, FitOptionRules, 0);
    if (!args.Has("--log") || !args.Has("--out"))
        throw UsageError("--log FILE and --out FILE are required");
    const std::string logFile = *args.Value("--log");
    const std::string outFile = *args.Value("--out");
    const auto last = static_cast<std::size_t>(args.Integer("--last", INT_MAX, 1, INT_MAX));
    FitOptions options;
    options.epochs = static_cast<int>(args.Integer("--epochs", options.epochs, 1, 1000));
    options.seed = static_cast<std::uint32_t>(args.Integer("--seed", 1, 0, UINT32_MAX));
    options.ridge = static_cast<double>(args.Integer("--ridge", 0, 0, 1000000));

    const GameLog log = ReadGameLog(logFile, last);
    std::vector<FitSample> samples;
    for (const GameRecord& record : log.games)
        AppendGameSamples(record, samples);
    const int games = static_cast<int>(log.games.size());
    const int skipped = log.skipped;
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
