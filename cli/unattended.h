#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "book/book.h"
#include "cli/args.h"
#include "cli/direct_services.h"
#include "core/folder_lock.h"
#include "core/game_flow.h"
#include "core/settings.h"
#include "learning/weights.h"

namespace vell::cli {

// Counts the ends of games, their results and the games whose line did not reach vellkif.txt.
struct GameEndCounter {
    void Count(const FinishedGame& game);
    int games = 0, blackWins = 0, whiteWins = 0, draws = 0, notLogged = 0;
};

// The settings of an unattended run live in memory only: nothing is written anywhere.
class MemoryOnlySettings : public SettingsWriter {
  public:
    void WriteSetting(int, int) override {}
};

// The files of an unattended run in `dir`: book.dat (a book that exists but cannot be read is
// a std::runtime_error) and the weights, from `weightFile` (a missing file gives zero weights,
// said once on standard error for "vellcli COMMAND" when `sayMissing`; a damaged one is a
// std::runtime_error). The pattern tables are ready after.
struct RunFiles {
    Book book;
    Weights weights;
};
void LoadRunFiles(const std::filesystem::path& dir, const std::filesystem::path& weightFile,
                  RunFiles& files, const std::string& command, bool sayMissing);

// Takes the lock of `dir` for "vellcli COMMAND" before anything in it is read or written; a
// folder another program writes is a std::runtime_error naming that program.
std::unique_ptr<FolderLock> LockRunFolder(const std::filesystem::path& dir,
                                          const std::string& command);

// --dir DIR (default "."), which must be a directory.
std::filesystem::path DirOption(const Args& args);

// Plays `games` games through `flow` on this thread, starting each after the last, and calls
// `afterGame` after each; `services` (the flow's) reports each end of a game to `counter`. The
// first Ctrl+C lets the game in progress end with its files complete and stops; a second ends the
// program at once. Throws std::runtime_error when a think fails and the game stops.
void PlayGames(GameFlow& flow, GameEndCounter& counter, DirectServices& services, int games,
               const std::function<void()>& afterGame);

// Whether the last PlayGames stopped early on Ctrl+C.
bool Interrupted();

}  // namespace vell::cli
