#pragma once

#include <array>
#include <string_view>

namespace vell {

// Player types: 0 a person, 1..4 the computer players, in the order of this table.
constexpr int PlayerTypeCount = 5;
constexpr std::array<std::string_view, PlayerTypeCount> PlayerTypeNames = {
    "Human", "CPU-1", "CPU-PAT1", "CPU-PAT2", "CPU-1-2"};

constexpr int HumanPlayer = 0;
constexpr int Cpu1Player = 1;
constexpr int CpuPat1Player = 2;
constexpr int CpuPat2Player = 3;
constexpr int Cpu12Player = 4;

// Side names indexed by colour: black, white.
constexpr std::array<std::string_view, 2> SideNames = {"黒", "白"};

}  // namespace vell
