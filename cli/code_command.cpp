#include <cstdio>
#include <iostream>

#include "book/position_code.h"
#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"

namespace vell::cli {

int RunCode(const std::vector<std::string>& argv) {
    Args args(argv, CodeOptionRules, 0);
    const PositionCode code = EncodePosition(args.BoardOption(StartPosition()));
    for (const std::uint8_t byte : code) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        std::cout << hex;
    }
    std::cout << "\n";
    return 0;
}

}  // namespace vell::cli
