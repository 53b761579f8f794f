#include "engine/forward_weight_cache.h"

#include "engine/pattern_readings.h"

namespace vell {

namespace {

std::shared_ptr<const WeightTable> BuildForward(const WeightTable& weights) {
    auto forward = std::make_shared<WeightTable>();
    MakeForwardWeights(weights, *forward);
    return forward;
}

}  // namespace

std::shared_ptr<const WeightTable> ForwardWeightCache::For(
    const std::shared_ptr<const Weights>& weights) {
    std::lock_guard lock(mutex);
    if (!forward || snapshot != weights) {
        forward = BuildForward(weights->table);
        snapshot = weights;
        source.clear();
    }
    return forward;
}

std::shared_ptr<const WeightTable> ForwardWeightCache::For(const WeightTable& weights) {
    std::lock_guard lock(mutex);
    if (!forward || snapshot || source != weights) {
        forward = BuildForward(weights);
        snapshot.reset();
        source = weights;
    }
    return forward;
}

}  // namespace vell
