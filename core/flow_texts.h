#pragma once

#include <string>

#include "core/board.h"

// The texts the game flow shows in the panes and message boxes, all in one place and exactly as
// the window shows them.

namespace vell {

constexpr const char* StoppedText = "停止";
constexpr const char* FinishedText = "終了";
constexpr const char* ThinkingText = "思考中です";
constexpr const char* PleaseMoveText = "打ってください。";
constexpr const char* CannotMoveThereText = "打てませんよ。";
constexpr const char* ThinkFailedText = "なんかエラー。";
constexpr const char* LogNotWrittenText = "vellkif.txt に書き込めませんでした。";

// "黒の番です。" / "白の番です。"
std::string TurnText(int side);
// "黒はパスです。" / "白はパスです。"
std::string PassTextOf(int side);
// "黒40石" in pane 1 and "白20石" in pane 2 at the end of a game.
std::string StoneCountText(int side, int stones);

// "黒の勝ちです。黒40石 白20石" (or "引き分けです。..."), and with squares left that neither side
// can fill, "4マス残りましたが、どちらも打てません。" on a line below; each line ends in "\n".
std::string ResultTextOf(const StoneCounts& counts);

// "思考中です（3秒）", or "思考中です（3秒、深さ7）" once a deepening search reports a finished
// depth (depth > 0).
std::string ThinkProgressText(int seconds, int depth);

}  // namespace vell
