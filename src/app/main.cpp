// Pelor: instrument dashboard. Takes no arguments; starts the main window.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/data_viewer_app.h"

namespace {

// Qt aborts when it cannot reach a display; say why and leave cleanly instead.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0' && std::strncmp(platform, "xcb", 3) != 0 &&
        std::strncmp(platform, "wayland", 7) != 0) {
        return true;  // offscreen, vnc, ... need no display
    }
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "pelor: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                     "Start it from a desktop session, or under a virtual screen:\n"
                     "  xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    pelor::ui::CDataViewerApp application;
    application.InitInstance();
    return EXIT_SUCCESS;
}
