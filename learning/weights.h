#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vell {

// Weights in 1/100 disc: pattern blocks, the mobility weight, the parity weight, 33 spares.
constexpr int TotalWeights = 167267;
constexpr int WeightTableSize = 167300;
constexpr int MobilityWeight = 167265;
constexpr int ParityWeight = 167266;

using WeightTable = std::vector<std::int16_t>;  // always WeightTableSize entries

// The 256 bytes stored after the weights.
struct WeightHeader {
    std::int32_t major = 0, minor = 0, revision = 0;
    std::int32_t trainingGames = 0;
    std::array<char, 240> note{};  // zero-terminated Shift-JIS text
};

// The weights of the pattern players and their header. A program that trains keeps one working
// copy, which only training and adoption change (on the window thread), and lets thinks, hints
// and reviews read published snapshots of it (Published<Weights>), never the working copy.
struct Weights {
    WeightTable table = WeightTable(WeightTableSize, 0);
    WeightHeader header;
};

}  // namespace vell
