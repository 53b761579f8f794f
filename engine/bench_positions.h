#pragma once

#include "core/board.h"

namespace vell {

// The suite: positions from the middle and the end of the game, white to move, thought about at
// the default depths (7, and 13 from 13 empties on).
struct BenchPosition {
    const char* board;
    int side;
};

inline constexpr BenchPosition BenchPositions[] = {
    {"-------------------xox-o-o-oxxx--oooox--x-oo-------xx-----x-----", White},
    {"----x-x-----o-x----oxxx----ooo-x---ox-xx----xxo--------o--------", White},
    {"---xx-------xoxo--oooxo----xx-o----xxo----o-------x------x------", White},
    {"-----o--------o--x-o-xx---xoxxx---oxo---o-oo-----xo------x------", White},
    {"---------------------------ox------xo---------------------------", White},
    {"--------------------o------oox---xxoo-x-xoxxoo--xoxx--o-x-xx--o-", White},
    {"---ooo----x-x------xxxx-x-xoxox--xxooo-o--xxooo---oxo-x-xxxo----", White},
    {"---xx-----xx-----xoo-o---ooxooo-xoxooxx-xxxooooox-xo---o----x---", White},
    {"--xxxxxxoxox-ooxooox-ooxoxxxoxox--xxooox-xoxxxoxxx-oox---xxx-o--", White},
    {"oooooo--xooox---xxoxxx--xoxxoxxoxxxoxoo-xooxxxoo--x-oxoo--oooooo", White},
    {"-xxxxxxx-xoxoxx--xxoxoxo--xxooxox-xxooxoxo-xxoxoxooxox--xxxoo---", White},
};

}  // namespace vell
