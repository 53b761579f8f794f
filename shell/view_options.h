#pragma once

namespace vell {

// The window's own choices under "表示(&V)": square names round the board, the stones turning
// over, and the sounds. All on at first; each is kept in QSettings (organisation
// "TolvaSoftware", application "Tamu3", group "View"), apart from the sixteen game settings.
struct ViewOptions {
    bool squareNames = true;
    bool animation = true;
    bool sound = true;

    // The stored choices, or the defaults for those never stored.
    static ViewOptions Load();
    // Stores every choice at once.
    void Store() const;
};

}  // namespace vell
