#pragma once

// The named strengths of the players dialog. Each is a computer player type with its two
// depths, weakest first, and the seconds a move takes with it on average over whole games,
// measured by timing `vellcli selfplay` (the window's fast search) on a busy two-core machine;
// the first moves come from the book and take almost nothing, the last ones read to the end.
// At equal depths CPU-PAT2 beat CPU-1 37 games to 3 (vellcli match --games 40, depths 4 and 12).

#include <array>

#include <QtGlobal>

#include "core/player_names.h"

namespace vell {

struct StrengthLevel {
    const char* name;
    int playerType;
    int normalDepth;
    int finalDepth;
    double secondsPerMove;
};

inline constexpr std::array<StrengthLevel, 5> StrengthLevels = {{
    {QT_TRANSLATE_NOOP("Vell", "入門"), Cpu12Player, 1, 1, 0.0},
    {QT_TRANSLATE_NOOP("Vell", "初級"), Cpu1Player, 2, 8, 0.0},
    {QT_TRANSLATE_NOOP("Vell", "中級"), CpuPat2Player, 4, 12, 0.0},
    {QT_TRANSLATE_NOOP("Vell", "上級"), CpuPat2Player, 7, 13, 0.03},
    {QT_TRANSLATE_NOOP("Vell", "最強"), CpuPat2Player, 11, 18, 2.6},
}};

// The level with exactly this player type and these depths, or -1.
constexpr int FindStrengthLevel(int playerType, int normalDepth, int finalDepth) {
    for (int i = 0; i < int(StrengthLevels.size()); ++i) {
        const StrengthLevel& level = StrengthLevels[i];
        if (level.playerType == playerType && level.normalDepth == normalDepth &&
            level.finalDepth == finalDepth)
            return i;
    }
    return -1;
}

}  // namespace vell
