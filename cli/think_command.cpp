#include <chrono>
#include <climits>
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "cli/computer_players.h"
#include "cli/engine_files.h"
#include "core/player_names.h"
#include "engine/fast_search.h"
#include "engine/think_driver.h"
#include "platform/huge_pages.h"

namespace vell::cli {

namespace {

// A JSON string literal; UTF-8 passes through, quotes, backslashes and control bytes are escaped.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

// One computer turn as the game flow starts it, printed as one line of JSON.
int RunThinkCommand(const std::vector<std::string>& argv) {
    Args args(argv, ThinkOptionRules, 0);
    ThinkRequest request;
    request.board = args.BoardOption(StartPosition());
    request.sideToMove = args.SideOption(White);
    Settings& settings = request.settings;
    settings[BlackPlayerSetting] =
        args.PlayerOption("--black", DefaultSettings[BlackPlayerSetting]);
    settings[WhitePlayerSetting] =
        args.PlayerOption("--white", DefaultSettings[WhitePlayerSetting]);
    // Depths are taken as settings: any value a hand-edited setting could hold, used clamped.
    settings[NormalDepthSetting] = static_cast<int>(
        args.Integer("--normal-depth", DefaultSettings[NormalDepthSetting], INT_MIN, INT_MAX));
    settings[FinalDepthSetting] = static_cast<int>(
        args.Integer("--final-depth", DefaultSettings[FinalDepthSetting], INT_MIN, INT_MAX));
    settings[TrainingModeSetting] = static_cast<int>(args.Integer("--training", 0, 0, 1));
    // A time limit: the think deepens until it runs out and plays the best move of the deepest
    // depth it completed; 0, the default, thinks to the full depth.
    settings[MoveTimeSetting] = static_cast<int>(args.Integer("--seconds", 0, 0, MaxMoveSeconds));
    const SearchKind search = args.SearchOption();
    EngineFiles files;
    LoadEngineFiles(args, files);

    QuietControl control;
    TablePool tables(DefaultTableBytes, AdviseHugePages);
    const auto start = std::chrono::steady_clock::now();
    const ThinkReport report =
        ThinkThread(request, control, files.book, files.weights.table, WallClockSeconds,
                    search == SearchKind::Fast ? &tables : nullptr);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;

    char time[32];
    std::snprintf(time, sizeof time, "%.6f", seconds.count());
    std::cout << "{\"result\":" << report.outcome.result << ",\"square\":" << report.outcome.square
              << ",\"message\":" << JsonString(report.outcome.message)
              << ",\"nodes\":" << report.nodes << ",\"seconds\":" << time << "}\n";
    return 0;
}

}  // namespace vell::cli
