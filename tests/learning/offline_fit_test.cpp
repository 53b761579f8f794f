#include "learning/offline_fit.h"

#include <gtest/gtest.h>

#include "tests/learning/training_games.h"

namespace vell {
namespace {

// The samples of a game are the positions a training pass reads, each with its mover and the
// game's result.
TEST(AppendGameSamples, TakesEveryPositionBeforeAMove) {
    const test::Moves moves = test::RandomGameOfLength(30);
    ASSERT_EQ(moves.size(), 30u);
    std::vector<FitSample> samples;
    AppendGameSamples(test::RecordOf(moves, -5), samples);
    ASSERT_EQ(samples.size(), 30u);
    Board board = StartPosition();
    for (std::size_t k = 0; k < moves.size(); ++k) {
        EXPECT_EQ(BoardToText(samples[k].position.board), BoardToText(board)) << k;
        EXPECT_EQ(samples[k].position.turn, moves[k].first) << k;
        EXPECT_EQ(samples[k].result, -5) << k;
        PlayMove(board, moves[k].second, moves[k].first);
    }
}

// When the result follows from the position (here: its own disc difference, which the row and
// diagonal patterns see), the fit learns it: the error of the fitted samples falls from epoch to
// epoch, positions of unseen games are predicted far better than by zero weights, and the
// rounded table evaluates them as the fit did.
TEST(FitWeights, LearnsWhatCarriesOverToUnseenGames) {
    InitPatterns();
    std::vector<FitSample> samples;
    for (unsigned seed = 1; seed <= 400; ++seed)
        AppendGameSamples(test::RecordOf(test::RandomMoves(seed, 60), 0), samples);
    for (FitSample& sample : samples) {
        const StoneCounts counts = CountStones(sample.position.board);
        sample.result = counts[Black] - counts[White];
    }
    const std::size_t held = samples.size() / 10;
    const auto heldError = [&](auto&& predict) {
        double sum = 0.0;
        for (std::size_t i = samples.size() - held; i < samples.size(); ++i) {
            const double error = samples[i].result - predict(samples[i]);
            sum += error * error;
        }
        return sum / static_cast<double>(held);
    };
    const double zeroError = heldError([](const FitSample&) { return 0.0; });

    FitOptions options;
    options.epochs = 4;
    options.holdOut = 0.1;
    std::vector<FitEpoch> epochs;
    const WeightTable weights =
        FitWeights(samples, options, [&](const FitEpoch& epoch) { epochs.push_back(epoch); });
    ASSERT_EQ(epochs.size(), 4u);
    EXPECT_LT(epochs.back().fitError, epochs.front().fitError);
    EXPECT_LT(epochs.back().holdOutError, 0.5 * zeroError);
    const double tableError = heldError([&](const FitSample& sample) {
        return PatternEvaluate(sample.position, weights) / 1000.0;
    });
    EXPECT_NEAR(tableError, epochs.back().holdOutError, 0.05 * epochs.back().holdOutError + 0.1);
}

}  // namespace
}  // namespace vell
