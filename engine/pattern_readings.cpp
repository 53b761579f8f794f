#include "engine/pattern_readings.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <vector>

#include "book/board_symmetry.h"
#include "engine/forward_weight_cache.h"

namespace vell {

namespace {

// Calls visit(instance, pattern, symmetry) for every instance in order.
template <typename Visit>
void ForEachInstance(Visit&& visit) {
    int instance = 0;
    for (int p = 0; p < PatternCount; ++p)
        for (int j = 0; j < Patterns[p].symmetries; ++j)
            visit(instance++, p, j);
}

std::array<PatternReadings, 65> MakeReadingSteps() {
    std::array<PatternReadings, 65> steps{};
    ForEachInstance([&](int instance, int p, int j) {
        const PatternDef& def = Patterns[p];
        int power = 1;
        for (int k = 0; k < def.n; ++k, power *= 3)
            steps[MapSquare(j, def.square[k])].lane[instance] = static_cast<std::uint16_t>(power);
    });
    return steps;
}

// For every entry of the weight table, the entry the pattern evaluation reads in its place.
std::vector<std::int32_t> MakeForwardSources() {
    std::vector<std::int32_t> sources(WeightTableSize);
    for (int i = 0; i < WeightTableSize; ++i)
        sources[i] = i;
    for (int p = 0; p < PatternCount; ++p) {
        const int n = Patterns[p].n;
        int size = 1;
        for (int k = 0; k < n; ++k)
            size *= 3;
        for (int f = 0; f < size; ++f) {
            int backward = 0;
            for (int k = 0, rest = f; k < n; ++k, rest /= 3)
                backward = 3 * backward + rest % 3;
            sources[PatternOffsets[p] + f] = PatternOffsets[p] + std::min(f, backward);
        }
    }
    return sources;
}

}  // namespace

const std::array<PatternReadings, 65> ReadingSteps = MakeReadingSteps();

void MakeForwardWeights(const WeightTable& weights, WeightTable& forward) {
    static const std::vector<std::int32_t> sources = MakeForwardSources();
    forward.resize(ForwardWeightsSize);
    for (int i = 0; i < WeightTableSize; ++i)
        forward[i] = weights[sources[i]];
    std::fill(forward.begin() + WeightTableSize, forward.end(), 0);
}

PatternReadings ReadingsOf(Bitboard black, Bitboard white) {
    PatternReadings readings;
    for (int s = 0; s < 64; ++s) {
        const int digit = (black >> s) & 1 ? Black : (white >> s) & 1 ? White : Empty;
        for (int l = 0; l < ReadingLanes; ++l)
            readings.lane[l] =
                static_cast<std::uint16_t>(readings.lane[l] + digit * ReadingSteps[s].lane[l]);
    }
    return readings;
}

const std::int16_t* ForwardTableFor(const WeightTable* given, const WeightTable* weights) {
    thread_local ForwardWeightCache cache;
    thread_local std::shared_ptr<const WeightTable> made;
    if (!given) {
        assert(weights && weights->size() == WeightTableSize);
        made = cache.For(*weights);
        given = made.get();
    }
    assert(given->size() == ForwardWeightsSize);
    return given->data();
}

}  // namespace vell
