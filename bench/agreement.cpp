// The agree mode: the fast search must give the plain search's value and square on every
// position. Fresh positions come from random games, the three evaluated player types and the
// normal depths take turns, and positions with few empties are read to the end.
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "bench/compare_modes.h"
#include "bench/compare_positions.h"
#include "core/player_names.h"
#include "engine/fast_search.h"
#include "engine/pattern_readings.h"
#include "engine/search.h"
#include "platform/huge_pages.h"

namespace vell::bench {

namespace {

// Weights of the pattern players drawn in -300..300 from `seed`, so every seed tries a table
// the tests never saw.
WeightTable RandomWeights(std::uint32_t seed) {
    std::mt19937 rng(seed);
    WeightTable table(WeightTableSize);
    for (auto& w : table)
        w = static_cast<std::int16_t>(static_cast<int>(rng() % 601) - 300);
    return table;
}

struct Tally {
    long compared = 0, finals = 0, disagreements = 0;
    std::vector<long> perDepth, perType = std::vector<long>(PlayerTypeCount, 0);
    int mostFinalEmpties = 0;
    std::uint64_t plainNodes = 0, fastNodes = 0;
    double plainSeconds = 0, fastSeconds = 0;

    void Print(const char* heading, double minutes) const {
        std::printf(
            "%s after %.1f min: positions %ld (final reads %ld, up to %d empties) disagreements "
            "%ld; plain %llu nodes %.1f s, fast %llu nodes %.1f s\n",
            heading, minutes, compared, finals, mostFinalEmpties, disagreements,
            static_cast<unsigned long long>(plainNodes), plainSeconds,
            static_cast<unsigned long long>(fastNodes), fastSeconds);
        std::printf("  at depth");
        for (std::size_t d = 1; d < perDepth.size(); ++d)
            std::printf(" %zu: %ld", d, perDepth[d]);
        std::printf("; by type");
        for (int t = Cpu1Player; t <= CpuPat2Player; ++t)
            std::printf(" %s: %ld", std::string(PlayerTypeNames[t]).c_str(), perType[t]);
        std::printf("\n");
        std::fflush(stdout);
    }
};

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int RunAgreeMode(const CompareOptions& options) {
    std::printf(
        "agreement: seed %u, %ld positions, depths 1..%d, final reads at %d empties or fewer "
        "(every %d-th), time budget %g min (0 none), plain search %s\n",
        options.seed, options.count, options.maxDepth, options.maxFinal, options.finalStep,
        options.minutes,
        options.narrow ? "with the window (v-1, v+1) around the fast value v (--narrow)"
                       : "with the full window");
    const WeightTable weights = RandomWeights(options.seed);
    WeightTable forward;
    MakeForwardWeights(weights, forward);
    TranspositionTable table(DefaultTableBytes, AdviseHugePages);
    std::mt19937 rng(options.seed);
    Tally tally;
    tally.perDepth.assign(static_cast<std::size_t>(options.maxDepth) + 1, 0);
    const auto start = std::chrono::steady_clock::now();
    auto lastReport = start;
    long index = 0, finalPositions = 0;
    const auto done = [&] {
        return tally.compared >= options.count ||
               (options.minutes > 0 && Since(start) > options.minutes * 60);
    };
    while (!done()) {
        for (const Position& p : RandomGame(rng)) {
            if (done()) break;
            const long i = index++;
            const int type = Cpu1Player + static_cast<int>(i % 3);
            const EvalContext context{type, false, nullptr, &weights, &forward};
            const int empties = CountStones(p.board)[Empty];
            const bool finalRead = empties <= options.maxFinal;
            const int depth = finalRead ? 60 : 1 + static_cast<int>((i / 3) % options.maxDepth);
            if (finalRead && finalPositions++ % options.finalStep != 0) continue;
            FastSearchRun fast(context, table);
            fast.depthLimit = depth;
            auto begin = std::chrono::steady_clock::now();
            const int actual = fast.Search(p.board, p.side);
            tally.fastSeconds += Since(begin);
            // The narrow check: values are whole numbers, so the plain search returns exactly
            // `actual` inside the window (actual - 1, actual + 1) only when that is its value,
            // and its root then keeps the lowest square reaching it, as with the full window;
            // otherwise it returns a bound or a code, which is counted as a disagreement.
            const int rootValue = p.side == Black ? actual : -actual;
            SearchRun plain(context);
            plain.depthLimit = depth;
            begin = std::chrono::steady_clock::now();
            int expected = options.narrow
                               ? plain.Search(p.board, p.side, rootValue - 1, rootValue + 1)
                               : plain.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh);
            tally.plainSeconds += Since(begin);
            tally.plainNodes += plain.nodes;
            tally.fastNodes += fast.nodes;
            ++tally.compared;
            ++tally.perType[type];
            if (finalRead) {
                ++tally.finals;
                tally.mostFinalEmpties = std::max(tally.mostFinalEmpties, empties);
            } else {
                ++tally.perDepth[static_cast<std::size_t>(depth)];
            }
            if (actual != expected || fast.chosenSquare != plain.chosenSquare) {
                if (++tally.disagreements > 10) continue;
                if (options.narrow) {  // the plain search's own answer, for the report
                    plain = SearchRun(context);
                    plain.depthLimit = depth;
                    expected = plain.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh);
                }
                std::printf("disagree %s %s type %s depth %d: plain %d at %d, fast %d at %d\n",
                            BoardToText(p.board).c_str(), p.side == Black ? "black" : "white",
                            std::string(PlayerTypeNames[type]).c_str(), depth, expected,
                            plain.chosenSquare, actual, fast.chosenSquare);
            }
            if (Since(lastReport) > 300) {
                lastReport = std::chrono::steady_clock::now();
                tally.Print("so far", Since(start) / 60);
            }
        }
    }
    tally.Print("done", Since(start) / 60);
    return tally.disagreements == 0 ? 0 : 1;
}

}  // namespace vell::bench
