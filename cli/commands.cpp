#include "cli/commands.h"

namespace vell::cli {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"perft", "perft DEPTH [--board B] [--side black|white]", RunPerft},
    };
    return commands;
}

}  // namespace vell::cli
