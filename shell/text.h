#pragma once

#include <QCoreApplication>
#include <QString>

namespace vell {

// A text of the window in the chosen language. `text` is the program's own Japanese text,
// written in UTF-8 in the source and marked QT_TRANSLATE_NOOP("Vell", ...) where it is defined,
// so the catalogue carries it; without a translation it comes back as it is.
inline QString Text(const char* text) {
    return QCoreApplication::translate("Vell", text);
}

}  // namespace vell
