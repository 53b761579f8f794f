#pragma once

#include <array>

namespace vell {

// The sixteen integer settings, stored as Config0..Config15.
constexpr int SettingCount = 16;
using Settings = std::array<int, SettingCount>;

constexpr int BlackPlayerSetting = 0;   // player type of black
constexpr int WhitePlayerSetting = 1;   // player type of white
constexpr int GamesPlayedSetting = 2;   // finished games
constexpr int NormalDepthSetting = 3;   // plies of the normal search
constexpr int FinalDepthSetting = 4;    // empties at or below which the search reads to the end
constexpr int TrainingModeSetting = 5;  // training, automatic restart, random second book moves
constexpr int OpeningModeSetting = 6;   // stored and shown only
constexpr int MoveTimeSetting = 8;      // seconds a computer move may take, 0 no limit

constexpr Settings DefaultSettings = {0, 1, 0, 7, 13, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// The ranges the players dialog accepts for the two depths.
constexpr int MinNormalDepth = 1, MaxNormalDepth = 20;
constexpr int MinFinalDepth = 1, MaxFinalDepth = 30;
// The range of the time limit per move, in seconds, when it is on.
constexpr int MinMoveSeconds = 1, MaxMoveSeconds = 600;

// Stores one setting where it persists: the window writes the user's settings at once,
// vellcli keeps them in memory.
class SettingsWriter {
  public:
    virtual ~SettingsWriter() = default;
    virtual void WriteSetting(int index, int value) = 0;
};

}  // namespace vell
