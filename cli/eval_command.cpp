#include <iostream>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "cli/engine_files.h"
#include "engine/evaluation.h"

namespace vell::cli {

// Prints the static evaluation of the board; the player type is that of the game's side to
// move, which is --side.
int RunEval(const std::vector<std::string>& argv) {
    Args args(argv, EvalOptionRules, 0);
    const Board board = args.BoardOption(StartPosition());
    const int side = args.SideOption(White);
    if (!args.Has("--player")) throw UsageError("missing --player TYPE");
    const int player = args.PlayerOption("--player", 0);
    const int gameOver = static_cast<int>(args.Integer("--game-over", 0, 0, 1));
    EngineFiles files;
    LoadEngineFiles(args, files);
    const EvalContext context{player, args.Has("--book-mode"), &files.book, &files.weights.table};
    std::cout << EvaluatePosition(context, board, gameOver, side) << "\n";
    return 0;
}

}  // namespace vell::cli
