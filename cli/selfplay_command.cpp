#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "book/book.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/direct_services.h"
#include "core/game_flow.h"
#include "core/player_names.h"
#include "engine/think_driver.h"
#include "learning/pattern_eval.h"
#include "learning/trainer.h"
#include "learning/weight_file.h"

namespace vell::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

// The first Ctrl+C lets the game in progress end with its files complete; a second one ends
// the program at once.
extern "C" void OnInterrupt(int) {
    interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

// gamesPlayed lives in memory. Its write marks the end of a game, when the flow's board is
// still the final one, so the result is counted here.
class GameEndCounter : public SettingsWriter {
  public:
    void WriteSetting(int index, int) override {
        if (index != GamesPlayedSetting || !flow) return;
        const StoneCounts counts = CountStones(flow->CurrentBoard());
        ++games;
        if (counts[Black] > counts[White])
            ++blackWins;
        else if (counts[White] > counts[Black])
            ++whiteWins;
        else
            ++draws;
    }

    const GameFlow* flow = nullptr;
    int games = 0, blackWins = 0, whiteWins = 0, draws = 0;
};

int ComputerPlayer(const Args& args, const std::string& option, int fallback) {
    const int type = args.PlayerOption(option, fallback);
    if (type == HumanPlayer)
        throw UsageError(option + " Human: selfplay needs computer players, nobody would click");
    return type;
}

}  // namespace

// Unattended games through the game flow, with the window's end-of-game sequence and files.
int RunSelfplay(const std::vector<std::string>& argv) {
    Args args(argv,
              {{"--games", true},
               {"--black", true},
               {"--white", true},
               {"--normal-depth", true},
               {"--final-depth", true},
               {"--training", true},
               {"--dir", true},
               {"--search", true}},
              0);
    if (!args.Has("--games")) throw UsageError("--games N is required");
    const int games = static_cast<int>(args.Integer("--games", 0, 1, INT_MAX));
    Settings settings = DefaultSettings;
    settings[BlackPlayerSetting] = ComputerPlayer(args, "--black", Cpu1Player);
    settings[WhitePlayerSetting] = ComputerPlayer(args, "--white", Cpu1Player);
    settings[NormalDepthSetting] = static_cast<int>(args.Integer(
        "--normal-depth", DefaultSettings[NormalDepthSetting], MinNormalDepth, MaxNormalDepth));
    settings[FinalDepthSetting] = static_cast<int>(args.Integer(
        "--final-depth", DefaultSettings[FinalDepthSetting], MinFinalDepth, MaxFinalDepth));
    settings[TrainingModeSetting] = static_cast<int>(args.Integer("--training", 0, 0, 1));
    const bool training = settings[TrainingModeSetting] != 0;
    const std::filesystem::path dir = args.Value("--dir").value_or(".");
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error))
        throw UsageError("--dir '" + dir.string() + "' is not a directory");

    Book book;
    const BookLoadStatus bookStatus = book.Load(dir / "book.dat");
    if (!bookStatus.ok)
        throw std::runtime_error((dir / "book.dat").string() + ": " + bookStatus.message);
    Weights weights = LoadWeights(dir / "weight4.dat");
    InitPatterns();

    const auto report = [](const std::string& text) {
        std::cerr << "vellcli selfplay: " << text << "\n";
    };
    Trainer trainer(weights, &book, dir, report);
    DirectServices services("selfplay");
    GameEndCounter counter;
    GameFlow flow(services, settings, counter, MakeThink(book, weights, args.SearchOption()), &trainer, dir);
    counter.flow = &flow;

    interrupted = 0;
    const auto previousHandler = std::signal(SIGINT, OnInterrupt);
    const auto start = std::chrono::steady_clock::now();
    auto lastProgress = start;
    const auto progress = [&](bool force) {
        const auto now = std::chrono::steady_clock::now();
        if (!force && now - lastProgress < std::chrono::seconds(1)) return;
        lastProgress = now;
        const double minutes = std::chrono::duration<double>(now - start).count() / 60.0;
        char line[160];
        if (training)
            std::snprintf(line, sizeof line, "selfplay: games=%d/%d per-minute=%.1f error=%lf",
                          counter.games, games, counter.games / minutes,
                          trainer.LastErrors().after);
        else
            std::snprintf(line, sizeof line, "selfplay: games=%d/%d per-minute=%.1f error=-",
                          counter.games, games, counter.games / minutes);
        std::cerr << line << "\n";
    };

    flow.StartGame();
    while (counter.games < games) {
        const int finished = counter.games;
        flow.OnTimer();
        if (counter.games == finished) {
            // Only a failed think stops the flow between the ends of two games.
            if (flow.State() == FlowState::Stopped) {
                std::signal(SIGINT, previousHandler);
                throw std::runtime_error("the game stopped: " + services.lastMessage);
            }
            continue;
        }
        progress(counter.games == games || interrupted);
        if (interrupted) break;
        // Without training the window waits on the final position; here the next game starts
        // from the start of the history, as training's restart does.
        if (flow.State() == FlowState::Stopped) {
            flow.GoToFirst();
            flow.StartGame();
        }
    }
    std::signal(SIGINT, previousHandler);

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char summary[160];
    std::snprintf(summary, sizeof summary, "games=%d black=%d white=%d draws=%d seconds=%.3f",
                  counter.games, counter.blackWins, counter.whiteWins, counter.draws, seconds);
    std::cout << summary << "\n";
    if (training && !trainer.FilesCurrent()) {
        std::cerr << "vellcli selfplay: weight2.dat or Trainlog.txt is missing trained games\n";
        return 1;
    }
    return 0;
}

}  // namespace vell::cli
