#include <atomic>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "cli/computer_players.h"
#include "cli/direct_services.h"
#include "cli/unattended.h"
#include "core/player_names.h"
#include "engine/think_driver.h"
#include "learning/game_log.h"
#include "learning/opening_variety.h"
#include "learning/trainer.h"
#include "platform/huge_pages.h"

namespace vell::cli {

namespace {

// Prints the held-out error of the weights as they stand after `games` trained games.
void PrintHeldOutError(int games, const std::vector<GameRecord>& holdout, const Weights& weights) {
    char line[96];
    std::snprintf(line, sizeof line, "games=%d holdout_error=%.6f", games,
                  HeldOutError(holdout, weights.table));
    std::cout << line << std::endl;
}

// The seconds the training-mode book choice is seeded with: fixed by --seed, so that a run can
// be repeated exactly.
std::atomic<std::uint32_t> fixedSeconds{1};
std::uint32_t FixedSeconds() {
    return fixedSeconds.load();
}

}  // namespace

// Unattended self-play with training on, measured every K games on held-out games that training
// never sees. The same --seed gives the same run. VELL_RATE in the environment, the fields of
// AccumulatingRate in their order separated by commas (rate,settle,floor,floorGames,
// everyPosition,lookAhead,recency; later ones may be left off), measures another accumulating
// rate than the built-in one (how the built-in one was chosen).
int RunLearncurve(const std::vector<std::string>& argv) {
    Args args(argv, LearnCurveOptionRules, 0);
    if (!args.Has("--games") || !args.Has("--every"))
        throw UsageError("--games N and --every K are required");
    const int games = static_cast<int>(args.Integer("--games", 0, 1, INT_MAX));
    const int every = static_cast<int>(args.Integer("--every", 0, 1, INT_MAX));
    const auto seed = static_cast<std::uint32_t>(args.Integer("--seed", 1, 0, UINT32_MAX));
    fixedSeconds = seed;
    Settings settings = DefaultSettings;
    settings[BlackPlayerSetting] = ComputerPlayerOption(args, "--black", Cpu1Player);
    settings[WhitePlayerSetting] = ComputerPlayerOption(args, "--white", Cpu1Player);
    DepthOptions(args, settings);
    settings[TrainingModeSetting] = 1;
    const std::filesystem::path dir = DirOption(args);
    const std::unique_ptr<FolderLock> lock = LockRunFolder(dir, "learncurve");
    const std::filesystem::path holdoutFile =
        args.Value("--holdout").value_or((dir / "holdout.txt").string());
    const std::vector<GameRecord> holdout = ReadGameLog(holdoutFile).games;
    if (holdout.empty()) throw std::runtime_error(holdoutFile.string() + ": no game to measure");

    // Without --from training starts from zero weights.
    RunFiles files;
    LoadRunFiles(dir, args.Value("--from").value_or((dir / "no-weights").string()), files,
                 "learncurve", args.Has("--from"));
    Trainer trainer(files.weights, &files.book, dir,
                    [](const std::string& text) { PrintMessage("learncurve", text); });
    if (const char* rate = std::getenv("VELL_RATE")) {
        AccumulatingRate r;
        std::sscanf(rate, "%lf,%lf,%lf,%lf,%lf,%lf,%lf", &r.rate, &r.settle, &r.floor,
                    &r.floorGames, &r.everyPosition, &r.lookAhead, &r.recency);
        trainer.SetRate(r);
    }
    DirectServices services("learncurve");
    GameEndCounter counter;
    MemoryOnlySettings memorySettings;
    ThinkFunction think = WithRandomOpening(
        MakeThink(files.book, files.weights, SearchKind::Fast, FixedSeconds, AdviseHugePages),
        DefaultRandomOpeningMoves, seed);
    GameFlow flow(services, settings, memorySettings, std::move(think), &trainer, dir);

    PrintHeldOutError(0, holdout, files.weights);
    PlayGames(flow, counter, services, games, [&] {
        if (counter.games % every == 0 || counter.games == games) {
            std::cerr << "learncurve: games=" << counter.games << "/" << games
                      << " last-error=" << trainer.LastErrors().after << "\n";
            PrintHeldOutError(counter.games, holdout, files.weights);
        }
    });
    return trainer.FilesCurrent() && !trainer.BookStopped() ? 0 : 1;
}

}  // namespace vell::cli
