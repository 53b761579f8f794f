#pragma once

// How a reviewed position's candidate moves are written on the board: each legal move's value
// in stones from the mover's side, the best one in a light yellow that stays readable on the
// green cells (white and the yellow both keep a contrast above 4.5:1 there).

#include <string>

#include <QColor>
#include <QString>

#include "engine/stones.h"

namespace vell {

inline QString CandidateText(int value) {
    return QString::fromStdString(StonesText(value));
}

inline QColor CandidateColour(bool best) {
    return best ? QColor(255, 255, 150) : QColor(255, 255, 255);
}

}  // namespace vell
