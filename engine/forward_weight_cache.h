#pragma once

#include <memory>
#include <mutex>

#include "learning/weights.h"

namespace vell {

// The forward weight table (MakeForwardWeights) of the weights a think function plays with,
// built once per set of weights instead of once per think: every think runs on a thread of its
// own, so a table kept per thread would be built again every move. Any thread may ask; the
// table handed out stays valid for as long as the caller holds it, whatever is asked later.
class ForwardWeightCache {
  public:
    // The table of a published snapshot. The cache holds the snapshot while it keeps its table,
    // so no later snapshot can take its place by being given the same address.
    std::shared_ptr<const WeightTable> For(const std::shared_ptr<const Weights>& snapshot);
    // The table of weights the caller may change between thinks: the cache compares them with
    // a copy of those it last built from.
    std::shared_ptr<const WeightTable> For(const WeightTable& weights);

  private:
    std::mutex mutex;
    std::shared_ptr<const Weights> snapshot;  // the key of `forward` when set
    WeightTable source;                       // else the weights `forward` was built from
    std::shared_ptr<const WeightTable> forward;
};

}  // namespace vell
