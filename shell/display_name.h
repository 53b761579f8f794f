#pragma once

namespace vell {

// The program's name as the window title, the About box and the status bar show it.
inline constexpr const char* DisplayName = "Vell";
// The About box's text line and the status bar's idle text.
inline constexpr const char* VersionText = "Vell Version 4.10";

}  // namespace vell
