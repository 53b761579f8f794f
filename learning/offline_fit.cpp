#include "learning/offline_fit.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "learning/game_database.h"
#include "learning/training_pass.h"

namespace vell {

namespace {

// The features of a position: the weight indices of its 46 pattern instances, its mobility and
// parity.
TrainingScratch FeaturesOf(const PositionRecord& position) {
    static const WeightTable zero(WeightTableSize, 0);
    TrainingScratch features;
    PatternEvaluateForTraining(position, 0, zero, features);
    return features;
}

// The prediction in discs of weights kept in discs.
double Predict(const TrainingScratch& features, const std::vector<double>& weights) {
    double value =
        features.mobility * weights[MobilityWeight] + features.parity * weights[ParityWeight];
    for (const std::int32_t w : features.weightIndex)
        value += weights[w];
    return value;
}

double MeanSquaredError(const std::vector<FitSample>& samples, std::size_t begin, std::size_t end,
                        const std::vector<double>& weights) {
    if (begin >= end) return 0.0;
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) {
        const double error = samples[i].result - Predict(FeaturesOf(samples[i].position), weights);
        sum += error * error;
    }
    return sum / static_cast<double>(end - begin);
}

}  // namespace

void AppendGameSamples(const GameRecord& record, std::vector<FitSample>& samples) {
    GameDatabase database;
    database.Store(record);
    FitSample sample;
    sample.result = record.Result();
    ReplayGame(database, 0, 0, sample.position.board);
    const int moves = RecordedMoves(record);
    for (int j = 0; j < moves; ++j) {
        sample.position.turn = record.Colour(j) == White ? White : Black;
        samples.push_back(sample);
        PlayRecordedMove(sample.position.board, record, j);
    }
}

WeightTable FitWeights(const std::vector<FitSample>& samples, const FitOptions& options,
                       const std::function<void(const FitEpoch&)>& progress) {
    std::vector<double> weights(WeightTableSize, 0.0);
    const auto held = static_cast<std::size_t>(static_cast<double>(samples.size()) *
                                               std::clamp(options.holdOut, 0.0, 1.0));
    const std::size_t fitted = samples.size() - held;
    std::vector<std::uint32_t> order(fitted);
    std::iota(order.begin(), order.end(), 0u);
    std::mt19937 random(options.seed);
    // How often each pattern weight occurs in the fitted samples: the penalty is spread over its
    // visits, so that an epoch pulls every weight by the same share of its value.
    std::vector<std::int32_t> visits(options.ridge > 0.0 ? WeightTableSize : 0);
    if (options.ridge > 0.0)
        for (const std::uint32_t i : order)
            for (const std::int32_t w : FeaturesOf(samples[i].position).weightIndex)
                ++visits[static_cast<std::size_t>(w)];

    for (int epoch = 0; epoch < options.epochs; ++epoch) {
        const double share = options.epochs > 1 ? double(epoch) / (options.epochs - 1) : 0.0;
        const double rate = options.firstRate + (options.lastRate - options.firstRate) * share;
        std::shuffle(order.begin(), order.end(), random);
        double fitSum = 0.0;
        for (const std::uint32_t i : order) {
            const TrainingScratch features = FeaturesOf(samples[i].position);
            const double error = samples[i].result - Predict(features, weights);
            fitSum += error * error;
            // Each pattern instance has size 1; the scalar features their own values.
            const double size = PatternInstances + features.mobility * features.mobility +
                                features.parity * features.parity;
            const double step = rate * error / size;
            weights[MobilityWeight] += step * features.mobility;
            weights[ParityWeight] += step * features.parity;
            const double pull = rate * options.ridge / size;
            for (const std::int32_t w : features.weightIndex) {
                weights[w] += step;
                if (pull > 0.0)
                    weights[w] -= pull * weights[w] / visits[static_cast<std::size_t>(w)];
            }
        }
        if (progress)
            progress({epoch + 1, fitted ? fitSum / static_cast<double>(fitted) : 0.0,
                      MeanSquaredError(samples, fitted, samples.size(), weights)});
    }
    WeightTable table(WeightTableSize, 0);
    for (int w = 0; w < TotalWeights; ++w)
        table[w] = SaturateWeight(std::round(weights[w] * 100.0));
    return table;
}

}  // namespace vell
