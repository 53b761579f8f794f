#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "book/book.h"
#include "cli/args.h"
#include "cli/command_options.h"
#include "engine/bench_positions.h"
#include "cli/commands.h"
#include "cli/computer_players.h"
#include "core/player_names.h"
#include "engine/fast_search.h"
#include "engine/think_driver.h"
#include "learning/pattern_eval.h"
#include "platform/huge_pages.h"

namespace vell::cli {

namespace {

// Weights for the pattern players, the same on every run: a fixed generator's draws in
// -300..300, so the pattern players' trees are those of a trained table, not of zeros.
WeightTable BenchWeights() {
    WeightTable table(WeightTableSize);
    std::uint32_t state = 20240601u;
    for (auto& w : table) {
        state = state * 1664525u + 1013904223u;
        w = static_cast<std::int16_t>(static_cast<int>((state >> 8) % 601u) - 300);
    }
    return table;
}

// Folds one think's answer (result, square and verdict text) into a digest, so that two runs
// or two searches can be seen to answer alike.
std::uint32_t FoldAnswer(std::uint32_t digest, const ThinkOutcome& outcome) {
    const auto fold = [&digest](unsigned char byte) { digest = (digest ^ byte) * 16777619u; };
    fold(static_cast<unsigned char>(outcome.result));
    fold(static_cast<unsigned char>(outcome.square));
    for (char c : outcome.message)
        fold(static_cast<unsigned char>(c));
    return digest;
}

}  // namespace

// Thinks on every suite position for every player type, on this thread, and prints the search
// speed and the think times. The node total is the search's fingerprint: a change that is not
// meant to alter the search leaves it as it was.
int RunBench(const std::vector<std::string>& argv) {
    Args args(argv, BenchOptionRules, 0);
    const SearchKind search = args.SearchOption();
    const int normalDepth = static_cast<int>(args.Integer(
        "--normal-depth", DefaultSettings[NormalDepthSetting], MinNormalDepth, MaxNormalDepth));
    const int finalDepth = static_cast<int>(args.Integer(
        "--final-depth", DefaultSettings[FinalDepthSetting], MinFinalDepth, MaxFinalDepth));
    TablePool tables(DefaultTableBytes, AdviseHugePages);
    const Book book;
    const WeightTable weights = BenchWeights();
    InitPatterns();
    std::uint64_t totalNodes = 0;
    std::printf("%zu positions, normal depth %d, final depth %d, one thread\n",
                std::size(BenchPositions), normalDepth, finalDepth);
    std::printf("search %s\n", search == SearchKind::Fast ? "fast" : "plain");
    std::printf("%-9s %12s %9s %10s %10s %10s %9s\n", "type", "nodes", "seconds", "Mnodes/s",
                "median s", "worst s", "answers");
    for (int type = 0; type < PlayerTypeCount; ++type) {
        std::uint64_t nodes = 0;
        std::vector<double> times;
        std::uint32_t answers = 2166136261u;
        for (const BenchPosition& p : BenchPositions) {
            ThinkRequest request;
            BoardFromText(p.board, request.board);
            request.sideToMove = p.side;
            request.settings[BlackPlayerSetting] = type;
            request.settings[WhitePlayerSetting] = type;
            request.settings[NormalDepthSetting] = normalDepth;
            request.settings[FinalDepthSetting] = finalDepth;
            QuietControl control;
            const auto start = std::chrono::steady_clock::now();
            const ThinkReport report =
                ThinkThread(request, control, book, weights, WallClockSeconds,
                            search == SearchKind::Fast ? &tables : nullptr);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            nodes += report.nodes;
            answers = FoldAnswer(answers, report.outcome);
            times.push_back(took.count());
        }
        double seconds = 0;
        for (double t : times)
            seconds += t;
        std::sort(times.begin(), times.end());
        std::printf("%-9s %12llu %9.3f %10.2f %10.4f %10.4f %08x\n",
                    std::string(PlayerTypeNames[type]).c_str(),
                    static_cast<unsigned long long>(nodes), seconds,
                    seconds > 0 ? static_cast<double>(nodes) / seconds / 1e6 : 0.0,
                    times[times.size() / 2], times.back(), answers);
        totalNodes += nodes;
    }
    std::printf("total nodes %llu\n", static_cast<unsigned long long>(totalNodes));
    return 0;
}

}  // namespace vell::cli
