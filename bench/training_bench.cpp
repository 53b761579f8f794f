#include <filesystem>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "book/book.h"
#include "learning/pattern_eval.h"
#include "learning/trainer.h"
#include "tests/learning/training_games.h"
#include "tests/support/temp_dir.h"

namespace {

// The training step of one finished game of 60 moves, as the end of a game runs it: both error
// measurements, the pass with its fifteen book additions (written to book.dat), the save of
// weight2.dat and the Trainlog.txt line, in a temporary directory. Weights start random.
// Argument 0: the fixed 1/3000 step; 1: the stable step.
void BM_TrainOneGame(benchmark::State& state) {
    vell::InitPatterns();
    vell::test::TempDir dir;
    vell::Book book;
    book.Load(dir / "book.dat");
    vell::Weights weights;
    std::mt19937 random(3);
    for (auto& w : weights.table)
        w = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-300, 300)(random));
    int reports = 0;
    vell::Trainer trainer(weights, &book, dir.Path(),
                          [&reports](const std::string&) { ++reports; });
    const vell::GameRecord record = vell::test::RecordOf(vell::test::FillingMoves(), 16);
    for (auto _ : state)
        trainer.Train(record);
    state.counters["reports"] = reports;
}
BENCHMARK(BM_TrainOneGame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
