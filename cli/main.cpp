#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "core/cpu_level.h"

namespace {

void PrintHelp() {
    std::cout
        << "vellcli: the game logic of Vell without a window\n\nusage: vellcli COMMAND ...\n\n";
    for (const auto& c : vell::cli::Commands())
        std::cout << "  vellcli " << c.usage << "\n";
    std::cout << "\nBoard text B: 64 characters, character i is square i = column * 8 + row;\n"
                 "x black, o white, - empty. The default is the start position, white to move.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (const std::string cpu = vell::CheckCpuOverride(); !cpu.empty()) {
        std::cerr << "vellcli: " << cpu << "\n";
        return 2;
    }
    if (args.empty()) {
        std::cerr << "vellcli: missing command; try vellcli --help\n";
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp();
        return 0;
    }
    for (const auto& c : vell::cli::Commands()) {
        if (args[0] != c.name) continue;
        try {
            return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
        } catch (const vell::cli::UsageError& e) {
            std::cerr << "vellcli " << c.name << ": " << e.what() << "\n";
            return 2;
        } catch (const std::exception& e) {
            std::cerr << "vellcli " << c.name << ": " << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "vellcli: unknown command '" << args[0] << "'; try vellcli --help\n";
    return 2;
}
