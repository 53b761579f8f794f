#include "engine/review_text.h"

#include <algorithm>
#include <cstdio>

#include "core/player_names.h"
#include "core/square_name.h"
#include "engine/stones.h"

namespace vell {

namespace {

const char* const HeadingText = "  # 手 着手   評価  最善   評価   損失 印";
const char* const LossText = "損失";
const char* const BestText = "最善";
const char* const AverageLossText = "平均損失";
const char* const WorstText = "大きな損失";
const char* const StoneUnit = "石";
// Between the parts of a summary: an ideographic space, which rich text keeps as it is.
const char* const Gap = "　";

std::string Name(int square) {
    const std::string name = SquareName(square);
    return name.empty() ? "--" : name;
}

std::string Side(int side) {
    return std::string(SideNames[side == White ? White : Black]);
}

}  // namespace

std::string ReviewHeadingText() {
    return HeadingText;
}

std::string ReviewLineText(const MoveReview& move) {
    char line[96];
    std::snprintf(line, sizeof line, "%3d %s %-4s %6s  %-4s %6s %6s %s", move.moveNumber,
                  Side(move.side).c_str(), Name(move.played).c_str(),
                  StonesText(move.playedValue).c_str(), Name(move.best).c_str(),
                  StonesText(move.bestValue).c_str(), LossStonesText(move.loss).c_str(),
                  std::string(MarkText(move.mark)).c_str());
    std::string text = line;
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string ReviewMoveText(const MoveReview& move) {
    std::string text =
        std::to_string(move.moveNumber) + ". " + Name(move.played) + " " + Side(move.side);
    if (move.mark != ReviewMark::None) {
        text += ' ';
        text += MarkText(move.mark);
    }
    return text + "  " + LossText + " " + LossStonesText(move.loss) + StoneUnit + "  " + BestText +
           " " + Name(move.best);
}

SideSummary SummarizeSide(const GameReview& review, int side) {
    SideSummary summary;
    long long total = 0;
    for (int i = 0; i < static_cast<int>(review.moves.size()); ++i) {
        const MoveReview& move = review.moves[i];
        if (move.side != side) continue;
        ++summary.moves;
        total += move.loss;
        ++summary.marks[static_cast<int>(move.mark)];
        if (move.loss > 0) summary.worst.push_back(i);
    }
    if (summary.moves > 0)
        summary.averageLoss = static_cast<int>((total + summary.moves / 2) / summary.moves);
    std::stable_sort(summary.worst.begin(), summary.worst.end(),
                     [&](int a, int b) { return review.moves[a].loss > review.moves[b].loss; });
    if (summary.worst.size() > 3) summary.worst.resize(3);
    return summary;
}

std::string SideSummaryText(const GameReview& review, int side) {
    const SideSummary summary = SummarizeSide(review, side);
    std::string text =
        Side(side) + " " + AverageLossText + " " + LossStonesText(summary.averageLoss) + StoneUnit;
    for (const ReviewMark mark : {ReviewMark::Dubious, ReviewMark::Mistake, ReviewMark::Blunder})
        text += std::string(Gap) + std::string(MarkText(mark)) + " " +
                std::to_string(summary.marks[static_cast<int>(mark)]);
    for (std::size_t i = 0; i < summary.worst.size(); ++i) {
        const MoveReview& move = review.moves[summary.worst[i]];
        text += (i == 0 ? std::string(Gap) + WorstText + " " : std::string("、")) +
                std::to_string(move.moveNumber) + ". " + Name(move.played) + " " +
                LossStonesText(move.loss) + StoneUnit;
    }
    return text;
}

}  // namespace vell
