#pragma once

#include <string>

#include <QString>

namespace vell {

// A text the game logic wrote (a pane, the board's notice, a message box, the review) in the
// window's language. In Japanese it is the text as it is. Otherwise each line is looked up whole
// in the catalogue, then against patterns such as "%1の番です。", whose parts (numbers, names,
// files) are carried over, themselves translated where the catalogue knows them. A line nothing
// matches stays as it is.
QString LogicText(const std::string& text);
QString LogicText(const QString& text);

}  // namespace vell
