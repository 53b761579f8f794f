#include "engine/forward_weight_cache.h"

#include <gtest/gtest.h>

#include "core/published.h"
#include "engine/pattern_readings.h"
#include "tests/engine/test_positions.h"

namespace vell {
namespace {

WeightTable ForwardOf(const WeightTable& weights) {
    WeightTable forward;
    MakeForwardWeights(weights, forward);
    return forward;
}

// A snapshot keeps its table; a newer one gets its own, and the older stays readable.
TEST(ForwardWeightCache, GivesEachPublishedSnapshotItsOwnTable) {
    ForwardWeightCache cache;
    Published<Weights> published(Weights{testing::RandomWeights(1), {}});
    const std::shared_ptr<const Weights> first = published.Current();
    const std::shared_ptr<const WeightTable> firstTable = cache.For(first);
    EXPECT_EQ(*firstTable, ForwardOf(first->table));
    EXPECT_EQ(cache.For(first), firstTable);

    published.Publish(Weights{testing::RandomWeights(2), {}});
    const std::shared_ptr<const Weights> second = published.Current();
    EXPECT_EQ(*cache.For(second), ForwardOf(second->table));
    EXPECT_EQ(*firstTable, ForwardOf(first->table));
    EXPECT_EQ(*cache.For(first), ForwardOf(first->table));
}

// Weights changed in place between two calls are built afresh.
TEST(ForwardWeightCache, RebuildsWeightsChangedInPlace) {
    ForwardWeightCache cache;
    WeightTable weights = testing::RandomWeights(3);
    const std::shared_ptr<const WeightTable> before = cache.For(weights);
    EXPECT_EQ(cache.For(weights), before);
    weights[WeightTableSize / 2] = static_cast<std::int16_t>(weights[WeightTableSize / 2] + 1);
    weights[MobilityWeight] = static_cast<std::int16_t>(weights[MobilityWeight] + 1);
    EXPECT_EQ(*cache.For(weights), ForwardOf(weights));
    EXPECT_NE(*before, ForwardOf(weights));
}

}  // namespace
}  // namespace vell
