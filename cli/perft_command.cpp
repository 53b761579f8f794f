#include <iostream>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "core/perft.h"

namespace vell::cli {

int RunPerft(const std::vector<std::string>& argv) {
    Args args(argv, PerftOptionRules, 1);
    if (args.Positional().empty()) throw UsageError("missing DEPTH");
    const int depth = static_cast<int>(ParseInteger(args.Positional()[0], "DEPTH", 0, 60));
    const Board board = args.BoardOption(StartPosition());
    const int side = args.SideOption(White);
    std::cout << Perft(StonesOf(board, side), StonesOf(board, 1 - side), depth) << "\n";
    return 0;
}

}  // namespace vell::cli
