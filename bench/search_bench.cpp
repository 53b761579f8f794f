#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "book/book.h"
#include "core/board.h"
#include "core/player_names.h"
#include "engine/evaluation.h"
#include "engine/search.h"
#include "engine/think_driver.h"
#include "learning/pattern_eval.h"

namespace {

using namespace vell;

constexpr const char* Midgame = "-------------------xox-o-o-oxxx--oooox--x-oo-------xx-----x-----";
// The hardest 13-empties read found in a few hundred random games, black to move.
constexpr const char* Endgame = "xxxxxx-o-ooo-oooooo-oxoooo-oxxoooooooxooooo-xooxo-xo-oo---ooo--o";

Board FromText(const char* text) {
    Board board;
    BoardFromText(text, board);
    return board;
}

const WeightTable& BenchWeights() {
    static const WeightTable table = [] {
        WeightTable t(WeightTableSize);
        std::uint32_t state = 7;
        for (auto& w : t) {
            state = state * 1664525u + 1013904223u;
            w = static_cast<std::int16_t>(static_cast<int>((state >> 8) % 601u) - 300);
        }
        InitPatterns();
        return t;
    }();
    return table;
}

// Fixed-depth search from a midgame position, white to move; reports Search nodes per second.
void BM_Search(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    const int depth = static_cast<int>(state.range(1));
    const Board board = FromText(Midgame);
    const EvalContext context{type, false, nullptr, &BenchWeights()};
    std::uint64_t nodes = 0;
    for (auto _ : state) {
        SearchRun run(context);
        run.depthLimit = depth;
        benchmark::DoNotOptimize(run.Search(board, White, SearchWindowLow, SearchWindowHigh));
        nodes += run.nodes;
    }
    state.SetLabel(std::string(PlayerTypeNames[type]));
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Search)
    ->Args({Cpu1Player, 7})
    ->Args({CpuPat1Player, 6})
    ->Args({CpuPat2Player, 6})
    ->Args({Cpu12Player, 7})
    ->Unit(benchmark::kMillisecond);

// The exact read of the end of the game from 13 empties, as the default final depth does.
void BM_EndgameRead(benchmark::State& state) {
    const Board board = FromText(Endgame);
    const EvalContext context{Cpu1Player, false, nullptr, nullptr};
    std::uint64_t nodes = 0;
    for (auto _ : state) {
        SearchRun run(context);
        run.depthLimit = 13;
        benchmark::DoNotOptimize(run.Search(board, Black, SearchWindowLow, SearchWindowHigh));
        nodes += run.nodes;
    }
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EndgameRead)->Unit(benchmark::kMillisecond);

// One static evaluation per player type, on the midgame position.
void BM_Evaluate(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    const Board board = FromText(Midgame);
    const EvalContext context{type, false, nullptr, &BenchWeights()};
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluatePosition(context, board, 0, White));
    state.SetLabel(std::string(PlayerTypeNames[type]));
}
BENCHMARK(BM_Evaluate)->Arg(Cpu1Player)->Arg(CpuPat1Player)->Arg(CpuPat2Player);

}  // namespace
