#pragma once

#include <QString>

namespace vell {

// A text of the program's own, written in UTF-8 in the source.
inline QString Text(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace vell
