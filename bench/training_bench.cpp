#include <filesystem>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "book/book.h"
#include "learning/game_database.h"
#include "learning/pattern_eval.h"
#include "learning/trainer.h"
#include "learning/training_pass.h"
#include "tests/learning/training_games.h"
#include "tests/support/temp_dir.h"

namespace {

// The rule of argument 0, 1, 2: the fixed 1/3000 step, the stable step, the accumulating step.
vell::StepRule RuleOf(const benchmark::State& state) {
    const vell::StepRule rules[] = {vell::StepRule::FixedFactor, vell::StepRule::Stable,
                                    vell::StepRule::Accumulating};
    return rules[state.range(0)];
}

void RandomWeights(vell::WeightTable& table) {
    std::mt19937 random(3);
    for (auto& w : table)
        w = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-300, 300)(random));
}

// The training step of one finished game of 60 moves, as the end of a game runs it: both error
// measurements, the pass with its fifteen book additions (written to book.dat), the save of
// weight2.dat and the Trainlog.txt line, in a temporary directory. Weights start random.
void BM_TrainOneGame(benchmark::State& state) {
    vell::InitPatterns();
    vell::test::TempDir dir;
    vell::Book book;
    book.Load(dir / "book.dat");
    vell::Weights weights;
    RandomWeights(weights.table);
    int reports = 0;
    vell::Trainer trainer(
        weights, &book, dir.Path(), [&reports](const std::string&) { ++reports; }, RuleOf(state));
    const vell::GameRecord record = vell::test::RecordOf(vell::test::FillingMoves(), 16);
    for (auto _ : state)
        trainer.Train(record);
    state.counters["reports"] = reports;
}
BENCHMARK(BM_TrainOneGame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The training pass alone, as the end of a game runs it inside the above: the 60 positions of a
// legal random game (fewer if it ends first) are evaluated and accumulated and every touched weight
// takes its step; no book, no file, no error measurement. The accumulators are kept from pass to
// pass as the trainer keeps them. Arguments as above.
void BM_TrainingPass(benchmark::State& state) {
    vell::InitPatterns();
    vell::WeightTable weights(vell::WeightTableSize);
    RandomWeights(weights);
    vell::GameDatabase database;
    database.Store(vell::test::RecordOf(vell::test::RandomMoves(5, 60), 8));
    vell::TrainingAccumulators accumulators;
    const vell::StepRule rule = RuleOf(state);
    for (auto _ : state) {
        vell::TrainOnStoredGames(database, weights, nullptr, accumulators, rule, {});
        benchmark::DoNotOptimize(weights.data());
    }
}
BENCHMARK(BM_TrainingPass)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
