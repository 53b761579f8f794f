// Parses any command line with the option rules of vellcli's commands and reads every option
// through its typed reader. A bad command line must end in UsageError, never anything else.
//
// Input: arguments separated by zero bytes. The first byte picks the command whose rules apply.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/command_options.h"
#include "core/board.h"
#include "tests/fuzz/fuzz_support.h"

using vell::cli::OptionRule;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vell;
    if (size == 0) return 0;
    const auto& rules = *cli::AllCommandOptions[data[0] % cli::AllCommandOptions.size()];
    std::vector<std::string> argv(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0)
            argv.emplace_back();
        else
            argv.back() += static_cast<char>(data[i]);
    }

    try {
        const cli::Args args(argv, rules, 1);
        fuzz::Require(args.Positional().size() <= 1, "no more positional arguments than allowed");
        for (const std::string& p : args.Positional())
            fuzz::Require(p.size() <= 1 || p[0] != '-' || (p[1] >= '0' && p[1] <= '9'),
                          "a positional argument is no option");
        for (const OptionRule& rule : rules) {
            try {
                if (rule.name == "--board") {
                    const Board board = args.BoardOption(StartPosition());
                    for (const auto square : board)
                        fuzz::Require(square == Black || square == White || square == Empty,
                                      "a parsed board holds only stones and empty squares");
                } else if (rule.name == "--side") {
                    const int side = args.SideOption(White);
                    fuzz::Require(side == Black || side == White, "a side is black or white");
                } else if (rule.name == "--player" || rule.name == "--black" ||
                           rule.name == "--white" || rule.name == "--a" || rule.name == "--b") {
                    const int type = args.PlayerOption(rule.name, 0);
                    fuzz::Require(type >= 0 && type <= 4, "a player type is 0..4");
                } else if (rule.takesValue) {
                    const long long n = args.Integer(rule.name, 5, -30, 100000);
                    fuzz::Require(n >= -30 && n <= 100000, "a number inside its range");
                }
            } catch (const cli::UsageError&) {
            }
        }
    } catch (const cli::UsageError&) {
    }
    return 0;
}
