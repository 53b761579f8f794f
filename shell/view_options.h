#pragma once

#include "shell/language.h"

namespace vell {

// The window's own choices under "表示(&V)": square names round the board, the stones turning
// over, the sounds and the language. All on and the language automatic at first; each is kept in
// QSettings (organisation "TolvaSoftware", application "Tamu3", group "View"), apart from the
// sixteen game settings.
struct ViewOptions {
    bool squareNames = true;
    bool animation = true;
    bool sound = true;
    LanguageChoice language = LanguageChoice::Automatic;

    // The stored choices, or the defaults for those never stored.
    static ViewOptions Load();
    // Stores every choice at once.
    void Store() const;
};

}  // namespace vell
