#include <benchmark/benchmark.h>

#include "core/board.h"
#include "core/perft.h"

namespace {

void BM_Perft(benchmark::State& state) {
    const vell::Board start = vell::StartPosition();
    for (auto _ : state)
        benchmark::DoNotOptimize(vell::Perft(vell::StonesOf(start, vell::White),
                                             vell::StonesOf(start, vell::Black),
                                             static_cast<int>(state.range(0))));
}
BENCHMARK(BM_Perft)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
