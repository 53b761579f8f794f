// vell_search_compare: the fast search measured against the plain one. Side by side on the
// positions of vellcli bench and on positions of computer self-play (times, nodes, nodes per
// second, agreement), agreement over many fresh positions, and how soon a think answers a
// request to play now. The modes and options are listed in compare_options.cpp (run without
// arguments to see them).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/compare_modes.h"
#include "bench/compare_options.h"
#include "bench/side_by_side.h"
#include "core/player_names.h"
#include "engine/bench_positions.h"
#include "engine/fast_search.h"
#include "engine/pattern_readings.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"
#include "platform/huge_pages.h"

namespace vell::bench {

namespace {

// "60 s", or "none" for 0.
std::string TimeoutText(double seconds) {
    if (seconds <= 0) return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
}

// The line that heads each table: what is searched, by which player type, with which caps.
void PrintHeading(const CompareOptions& options, const char* what) {
    std::printf("%s, %s, plain timeout %s, fast timeout %s%s\n", what,
                std::string(PlayerTypeNames[options.type]).c_str(),
                TimeoutText(options.plainTimeout).c_str(), TimeoutText(options.fastTimeout).c_str(),
                options.fastOnly ? ", plain search skipped (--fast-only)" : "");
}

// Faults the table's memory in before anything is timed, and says so: in play the table lives
// across the thinks of a game, so only the first think pays for that memory.
void WarmTable(TranspositionTable& table) {
    const auto start = std::chrono::steady_clock::now();
    table.Prefault();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("fast search table: %zu MB, warm (faulted in before timing, %.1f ms)\n",
                DefaultTableBytes >> 20, took.count());
}

// "#3 depth 7": the row of one numbered position.
std::string Numbered(int number, const std::string& what) {
    char text[64];
    std::snprintf(text, sizeof text, "#%d %s", number, what.c_str());
    return text;
}

// One row: the plain search unless skipped, then the fast one.
void CompareOne(SideBySideTable& rows, TranspositionTable& table, const CompareOptions& options,
                const EvalContext& context, const Position& p, int depth, const std::string& label,
                const std::string& group) {
    SearchFigures plain;
    if (!options.fastOnly) plain = PlainFigures(context, p, depth, options.plainTimeout);
    const SearchFigures fast = FastFigures(context, table, p, depth, options.fastTimeout);
    rows.Row(label, group, CountStones(p.board)[Empty], plain, fast);
}

}  // namespace

int RunBenchMode(const CompareOptions& options, const Weights& weights,
                 const WeightTable& forward) {
    PrintHeading(options, "positions of vellcli bench");
    const EvalContext context{options.type, false, nullptr, &weights.table, &forward};
    TranspositionTable table(DefaultTableBytes, AdviseHugePages);
    WarmTable(table);
    SideBySideTable rows;
    for (const int depth : options.depths)
        for (const int k : options.positions) {
            const BenchPosition& bench = BenchPositions[k - 1];
            Position p{{}, bench.side};
            BoardFromText(bench.board, p.board);
            const std::string group = "depth " + std::to_string(depth);
            CompareOne(rows, table, options, context, p, depth, Numbered(k, group), group);
        }
    return rows.Summary() == 0 ? 0 : 1;
}

int RunRealisticMode(const CompareOptions& options, const Weights& weights,
                     const WeightTable& forward) {
    std::printf(
        "\"CPU-PAT2\" self-play (depths 7/13, fast search, empty book), up to %d positions at "
        "each empties count, seed %u, "
        "%d random opening plies\n",
        options.perEmpties, options.seed, options.openings);
    const SelfPlay selfPlay = SelfPlayPositions(weights, options.seed, options.openings,
                                                options.perEmpties, options.empties);
    std::printf("%d games played\n", selfPlay.games);
    const auto& found = selfPlay.positions;
    for (std::size_t k = 0; k < found.size(); ++k)
        for (std::size_t g = 0; g < found[k].size(); ++g)
            std::printf("%d empties #%zu: %s %s\n", options.empties[k], g + 1,
                        BoardToText(found[k][g].board).c_str(),
                        found[k][g].side == Black ? "black" : "white");
    PrintHeading(options, "search");
    const EvalContext context{options.type, false, nullptr, &weights.table, &forward};
    TranspositionTable table(DefaultTableBytes, AdviseHugePages);
    WarmTable(table);
    SideBySideTable rows;
    for (std::size_t k = 0; k < found.size(); ++k) {
        const int empties = options.empties[k];
        std::vector<int> depths = options.depths;
        if (options.finalRead) depths.push_back(0);  // 0 stands for the final read
        for (const int depth : depths) {
            const std::string read = depth == 0 ? "final" : "depth " + std::to_string(depth);
            const std::string group = std::to_string(empties) + " " + read;
            for (std::size_t g = 0; g < found[k].size(); ++g)
                CompareOne(rows, table, options, context, found[k][g],
                           depth == 0 ? FinalReadDepth(empties) : depth,
                           Numbered(static_cast<int>(g + 1), read), group);
        }
    }
    return rows.Summary() == 0 ? 0 : 1;
}

}  // namespace vell::bench

int main(int argc, char** argv) {
    using namespace vell;
    using namespace vell::bench;
    CompareOptions options;
    try {
        options = ParseCompareOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const CompareUsageError& e) {
        // The whole usage only when asked for nothing; otherwise the one thing that is wrong.
        if (argc < 2)
            std::fprintf(stderr, "%s", CompareUsage);
        else
            std::fprintf(stderr,
                         "vell_search_compare: %s (run it without arguments for the usage)\n",
                         e.what());
        return 2;
    }
    InitPatterns();
    Weights weights;
    const bool needsWeights = options.mode == CompareMode::Realistic ||
                              options.mode == CompareMode::PlayNow ||
                              options.type == CpuPat1Player || options.type == CpuPat2Player;
    if (needsWeights) {
        WeightLoadStatus status;
        weights = LoadWeights(options.weights, &status);
        if (status.missing || status.damaged) {
            std::fprintf(stderr, "vell_search_compare: %s: %s (give --weights FILE)\n",
                         options.weights.c_str(),
                         status.missing ? "cannot be read" : status.message.c_str());
            return 1;
        }
    }
    WeightTable forward;
    MakeForwardWeights(weights.table, forward);
    switch (options.mode) {
        case CompareMode::Bench:
            return RunBenchMode(options, weights, forward);
        case CompareMode::Realistic:
            return RunRealisticMode(options, weights, forward);
        case CompareMode::Agree:
            return RunAgreeMode(options);
        case CompareMode::PlayNow:
            return RunPlayNowMode(options, weights, forward);
    }
    return 2;
}
