#pragma once
// Whether the window system the program would use can be reached, checked before the
// application object exists: Qt ends the program with an abort when its platform cannot
// connect, and a skipper should get a sentence instead.
#include <string>

namespace pelor::ui {

enum class DisplayState {
    Usable,      // reachable, or a platform that needs no display (offscreen, ...)
    Unset,       // neither DISPLAY nor WAYLAND_DISPLAY is set
    Unreachable  // DISPLAY is set but no X server answers there
};

// `detail` receives the display name that could not be reached.
DisplayState ProbeDisplay(std::string& detail);

}  // namespace pelor::ui
