#pragma once

// A game review as a player reads it, in stones and square names: the columns of one line per
// move, the text of a marked move, and each side's summary. The window's review dock and
// `vellcli review --format text` print the same lines.

#include <array>
#include <string>
#include <vector>

#include "engine/game_review.h"

namespace vell {

// The heading over the move lines, aligned with them in a fixed-pitch font.
std::string ReviewHeadingText();

// One move's line: number, side, the move played, its value, the best move and its value (from
// the mover's side), the loss and the mark: " 23 黒 c5   -3.5  f6   +2.7   6.2 ?".
std::string ReviewLineText(const MoveReview& move);

// The text of a marked move: "23. c5 黒 ?  損失 6.2石  最善 f6".
std::string ReviewMoveText(const MoveReview& move);

// What a side's moves came to: the mean loss (evaluation units), the count of each mark
// (indexed by ReviewMark; None counts the unmarked moves) and the indices into review.moves of
// its worst moves, largest loss first (ties to the earlier move), at most three, losses of 0
// left out.
struct SideSummary {
    int moves = 0;
    int averageLoss = 0;
    std::array<int, 4> marks{};
    std::vector<int> worst;
};
SideSummary SummarizeSide(const GameReview& review, int side);

// "黒 平均損失 1.2石　?! 2　? 1　?? 0　大きな損失 23. c5 6.2石、31. b2 4.0石": one side's
// summary, its parts apart by ideographic spaces.
std::string SideSummaryText(const GameReview& review, int side);

}  // namespace vell
