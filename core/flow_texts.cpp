#include "core/flow_texts.h"

#include "core/player_names.h"

namespace vell {

namespace {

constexpr const char* WinsText = "の勝ちです。";
constexpr const char* DrawText = "引き分けです。";
constexpr const char* NoMoveLeftText = "マス残りましたが、どちらも打てません。";

std::string SideName(int side) {
    return std::string(SideNames[side]);
}

}  // namespace

std::string TurnText(int side) {
    return SideName(side) + "の番です。";
}

std::string PassTextOf(int side) {
    return SideName(side) + "はパスです。";
}

std::string StoneCountText(int side, int stones) {
    return SideName(side) + std::to_string(stones) + "石";
}

std::string ResultTextOf(const StoneCounts& counts) {
    std::string text = counts[Black] == counts[White]
                           ? std::string(DrawText)
                           : SideName(counts[Black] > counts[White] ? Black : White) + WinsText;
    text += "黒" + std::to_string(counts[Black]) + "石 白" + std::to_string(counts[White]) + "石\n";
    if (counts[Empty] > 0) text += std::to_string(counts[Empty]) + NoMoveLeftText + "\n";
    return text;
}

std::string ThinkProgressText(int seconds, int depth) {
    std::string text = std::string(ThinkingText) + "（" + std::to_string(seconds) + "秒";
    if (depth > 0) text += "、深さ" + std::to_string(depth);
    return text + "）";
}

}  // namespace vell
