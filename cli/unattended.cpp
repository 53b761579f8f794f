#include "cli/unattended.h"

#include <csignal>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "cli/args.h"
#include "core/file_names.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"

namespace vell::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

// Restores the previous Ctrl+C handler however PlayGames ends.
class InterruptScope {
  public:
    InterruptScope() : previous(std::signal(SIGINT, OnInterrupt)) { interrupted = 0; }
    ~InterruptScope() { std::signal(SIGINT, previous); }
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

  private:
    void (*previous)(int);
};

}  // namespace

void GameEndCounter::Count(const FinishedGame& game) {
    const StoneCounts& counts = game.counts;
    ++games;
    if (!game.logged) ++notLogged;
    if (counts[Black] > counts[White])
        ++blackWins;
    else if (counts[White] > counts[Black])
        ++whiteWins;
    else
        ++draws;
}

void LoadRunFiles(const std::filesystem::path& dir, const std::filesystem::path& weightFile,
                  RunFiles& files, const std::string& command, bool sayMissing) {
    const BookLoadStatus bookStatus = files.book.Load(dir / BookFileName);
    if (!bookStatus.ok)
        throw std::runtime_error((dir / BookFileName).string() + ": " + bookStatus.message);
    WeightLoadStatus weightStatus;
    files.weights = LoadWeights(weightFile, &weightStatus);
    if (weightStatus.damaged) throw std::runtime_error(weightStatus.message);
    if (weightStatus.missing && sayMissing)
        std::cerr << "vellcli " << command << ": " << MissingWeightsText(weightFile) << "\n";
    InitPatterns();
}

std::unique_ptr<FolderLock> LockRunFolder(const std::filesystem::path& dir,
                                          const std::string& command) {
    auto lock = std::make_unique<FolderLock>(dir, "vellcli " + command);
    if (!lock->Held())
        throw std::runtime_error(lock->Refusal() +
                                 "; one program at a time writes a working folder");
    return lock;
}

std::filesystem::path DirOption(const Args& args) {
    const std::filesystem::path dir = args.Value("--dir").value_or(".");
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error))
        throw UsageError("--dir '" + dir.string() + "' is not a directory");
    return dir;
}

void PlayGames(GameFlow& flow, GameEndCounter& counter, DirectServices& services, int games,
               const std::function<void()>& afterGame) {
    InterruptScope scope;
    services.onGameFinished = [&counter](const FinishedGame& game) { counter.Count(game); };
    flow.StartGame();
    while (counter.games < games) {
        const int finished = counter.games;
        flow.OnTimer();
        if (counter.games == finished) {
            // Only a failed think stops the flow between the ends of two games.
            if (flow.State() == FlowState::Stopped)
                throw std::runtime_error("the game stopped: " + services.lastMessage);
            continue;
        }
        if (afterGame) afterGame();
        if (interrupted) break;
        // Without training the window waits on the final position; here the next game starts
        // from the start of the history, as training's restart does.
        if (flow.State() == FlowState::Stopped) {
            flow.GoToFirst();
            flow.StartGame();
        }
    }
}

bool Interrupted() {
    return interrupted != 0;
}

}  // namespace vell::cli
