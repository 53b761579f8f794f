#include "engine/pattern_readings.h"

#include "book/board_symmetry.h"

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

std::array<PatternReadings, 64> MakeReadingSteps() {
    std::array<PatternReadings, 64> steps{};
    ForEachInstance([&](int instance, int p, int j) {
        const PatternDef& def = Patterns[p];
        int forward = 1, backward = 1;
        for (int k = 0; k < def.n - 1; ++k)
            backward *= 3;
        for (int k = 0; k < def.n; ++k, forward *= 3, backward /= 3) {
            PatternReadings& step = steps[MapSquare(j, def.square[k])];
            step.lane[instance] = static_cast<std::uint16_t>(forward);
            step.lane[BackwardLane + instance] = static_cast<std::uint16_t>(backward);
        }
    });
    return steps;
}

}  // namespace

const std::array<PatternReadings, 64> ReadingSteps = MakeReadingSteps();

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

}  // namespace vell
