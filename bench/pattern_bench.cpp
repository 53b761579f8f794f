#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/board.h"
#include "learning/pattern_eval.h"
#include "tests/support/random_play.h"

namespace {

// Positions of random games with random weights: one PatternEvaluate per iteration, the two
// mobility counts included.
void BM_PatternEvaluate(benchmark::State& state) {
    vell::InitPatterns();
    struct Position {
        vell::Bitboard black, white;
        int turn;
    };
    std::vector<Position> positions;
    for (const vell::Board& board : vell::test::RandomPlayBoards(1, 4096))
        positions.push_back({vell::StonesOf(board, vell::Black), vell::StonesOf(board, vell::White),
                             static_cast<int>(positions.size() % 2)});
    std::mt19937 random(2);
    vell::WeightTable weights(vell::WeightTableSize);
    for (auto& w : weights)
        w = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-300, 300)(random));

    std::size_t i = 0;
    for (auto _ : state) {
        const Position& p = positions[i++ & 4095];
        benchmark::DoNotOptimize(vell::PatternEvaluate(p.black, p.white, p.turn, weights));
    }
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PatternEvaluate);

}  // namespace
