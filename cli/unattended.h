#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "book/book.h"
#include "cli/args.h"
#include "cli/direct_services.h"
#include "core/game_flow.h"
#include "core/settings.h"
#include "learning/weights.h"

namespace vell::cli {

// Counts the ends of games and their results. gamesPlayed lives in memory; its write marks the
// end of a game, when the flow's board is still the final one.
class GameEndCounter : public SettingsWriter {
  public:
    void WriteSetting(int index, int) override;

    const GameFlow* flow = nullptr;
    int games = 0, blackWins = 0, whiteWins = 0, draws = 0;
};

// The files of an unattended run in `dir`: book.dat (a book that exists but cannot be read is
// a std::runtime_error) and the weights, from `weightFile` (a missing file gives zero weights,
// a damaged one is a std::runtime_error). The pattern tables are ready after.
struct RunFiles {
    Book book;
    Weights weights;
};
void LoadRunFiles(const std::filesystem::path& dir, const std::filesystem::path& weightFile,
                  RunFiles& files);

// --dir DIR (default "."), which must be a directory.
std::filesystem::path DirOption(const Args& args);

// Plays `games` games through `flow` on this thread, starting each after the last, and calls
// `afterGame` after each. The first Ctrl+C lets the game in progress end with its files
// complete and stops; a second ends the program at once. Throws std::runtime_error when a
// think fails and the game stops.
void PlayGames(GameFlow& flow, GameEndCounter& counter, const DirectServices& services, int games,
               const std::function<void()>& afterGame);

// Whether the last PlayGames stopped early on Ctrl+C.
bool Interrupted();

}  // namespace vell::cli
