#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "cli/computer_players.h"
#include "cli/direct_services.h"
#include "cli/unattended.h"
#include "core/file_names.h"
#include "core/player_names.h"
#include "engine/think_driver.h"
#include "learning/adopt_weights.h"
#include "learning/game_log.h"
#include "learning/holdout_monitor.h"
#include "learning/opening_variety.h"
#include "learning/trainer.h"
#include "platform/huge_pages.h"

namespace vell::cli {

namespace {

struct SelfplayOptions {
    int games = 0;
    Settings settings = DefaultSettings;
    std::filesystem::path dir;
    bool continueTraining = false;
    int openings = 0;
    std::uint32_t seed = 1;
    bool seedGiven = false;
    SearchKind search = SearchKind::Fast;
    std::vector<GameRecord> holdout;  // --holdout: measured every 10 trained games
};

SelfplayOptions ParseSelfplay(const std::vector<std::string>& argv) {
    Args args(argv, SelfPlayOptionRules, 0);
    if (!args.Has("--games")) throw UsageError("--games N is required");
    SelfplayOptions options;
    options.games = static_cast<int>(args.Integer("--games", 0, 1, INT_MAX));
    Settings& settings = options.settings;
    settings[BlackPlayerSetting] = ComputerPlayerOption(args, "--black", Cpu1Player);
    settings[WhitePlayerSetting] = ComputerPlayerOption(args, "--white", Cpu1Player);
    DepthOptions(args, settings);
    settings[TrainingModeSetting] = static_cast<int>(args.Integer("--training", 0, 0, 1));
    options.dir = DirOption(args);
    options.continueTraining = args.Has("--continue");
    // Training games open with random moves unless told otherwise; other games only on request.
    const int openings = settings[TrainingModeSetting] != 0 ? DefaultRandomOpeningMoves : 0;
    options.openings = static_cast<int>(args.Integer("--openings", openings, 0, 60));
    options.seed = static_cast<std::uint32_t>(args.Integer("--seed", 1, 0, UINT32_MAX));
    options.seedGiven = args.Has("--seed");
    options.search = args.SearchOption();
    if (const auto holdout = args.Value("--holdout")) {
        try {
            options.holdout = ReadGameLog(*holdout).games;
        } catch (const std::runtime_error& e) {
            throw UsageError(std::string("--holdout: ") + e.what());
        }
        if (options.holdout.empty()) throw UsageError("--holdout " + *holdout + ": holds no game");
    }
    return options;
}

// The weights a run starts from: weight4.dat, or with --continue weight2.dat when it loads
// cleanly, so training can go on over several runs.
std::filesystem::path StartingWeights(const SelfplayOptions& options) {
    if (!options.continueTraining) return options.dir / StartWeightsFileName;
    const TrainedWeights trained = ReadTrainedWeights(options.dir);
    if (trained.ok) return options.dir / TrainedWeightsFileName;
    std::cerr << "vellcli selfplay: --continue: weight2.dat does not load cleanly, starting from "
                 "weight4.dat\n";
    return options.dir / StartWeightsFileName;
}

// One progress line on standard error at most once a second, and at the end.
class Progress {
  public:
    Progress(const GameEndCounter& counter, const Trainer* trainer, int games)
        : counter(counter), trainer(trainer), games(games) {}
    void Show(bool force) {
        const auto now = std::chrono::steady_clock::now();
        if (!force && now - last < std::chrono::seconds(1)) return;
        last = now;
        const double minutes = std::chrono::duration<double>(now - start).count() / 60.0;
        char error[32] = "-";
        if (trainer) std::snprintf(error, sizeof error, "%lf", trainer->LastErrors().after);
        char line[160];
        std::snprintf(line, sizeof line, "selfplay: games=%d/%d per-minute=%.1f error=%s",
                      counter.games, games, counter.games / minutes, error);
        std::cerr << line << "\n";
    }
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

  private:
    const GameEndCounter& counter;
    const Trainer* trainer;
    int games;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last = start;
};

// The exit status of a finished run: 1 with a one-line message when a file lacks what was
// played and trained.
int FinalStatus(const GameEndCounter& counter, const Trainer& trainer, bool training) {
    if (counter.notLogged > 0) {
        std::cerr << "vellcli selfplay: " << counter.notLogged << " of " << counter.games
                  << " games are missing from vellkif.txt\n";
        return 1;
    }
    if (!training) return 0;
    if (!trainer.FilesCurrent()) {
        std::cerr << "vellcli selfplay: weight2.dat or Trainlog.txt is missing trained games\n";
        return 1;
    }
    if (trainer.BookStopped()) {
        std::cerr << "vellcli selfplay: book.dat stopped taking the positions of trained games\n";
        return 1;
    }
    return 0;
}

}  // namespace

// Unattended games through the game flow, with the window's end-of-game sequence and files.
int RunSelfplay(const std::vector<std::string>& argv) {
    SelfplayOptions options = ParseSelfplay(argv);
    const bool training = options.settings[TrainingModeSetting] != 0;
    // Every game is logged, so even a run without training writes the folder.
    const std::unique_ptr<FolderLock> lock = LockRunFolder(options.dir, "selfplay");
    RunFiles files;
    LoadRunFiles(options.dir, StartingWeights(options), files, "selfplay", true);
    // A continued run draws new openings: by default its seed follows the games its weights
    // were trained on, so it never replays the games of the run before.
    if (options.continueTraining && !options.seedGiven)
        options.seed =
            static_cast<std::uint32_t>(std::max(files.weights.header.trainingGames, 0)) + 1;

    Trainer trainer(files.weights, &files.book, options.dir,
                    [](const std::string& text) { PrintMessage("selfplay", text); });
    // With --holdout the weights are measured beside the games as the window does.
    HoldoutMonitor monitor(trainer, files.weights, options.holdout, options.dir);
    DirectServices services("selfplay");
    GameEndCounter counter;
    MemoryOnlySettings memorySettings;
    ThinkFunction think =
        MakeThink(files.book, files.weights, options.search, WallClockSeconds, AdviseHugePages);
    if (options.openings > 0)
        think = WithRandomOpening(std::move(think), options.openings, options.seed, true);
    GameFlow flow(services, options.settings, memorySettings, std::move(think), &monitor,
                  options.dir);

    Progress progress(counter, training ? &trainer : nullptr, options.games);
    PlayGames(flow, counter, services, options.games,
              [&] { progress.Show(counter.games == options.games || Interrupted()); });
    monitor.Wait();
    char summary[160];
    std::snprintf(summary, sizeof summary, "games=%d black=%d white=%d draws=%d seconds=%.3f",
                  counter.games, counter.blackWins, counter.whiteWins, counter.draws,
                  progress.Seconds());
    std::cout << summary << "\n";
    return FinalStatus(counter, trainer, training);
}

}  // namespace vell::cli
