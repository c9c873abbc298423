// Pelor: instrument dashboard. Takes no arguments; starts the main window.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/data_viewer_app.h"
#include "ui/display_probe.h"

int main(int argc, char** argv) {
    // Qt aborts when it cannot reach a display; say why and leave cleanly instead.
    std::string where;
    switch (pelor::ui::ProbeDisplay(where)) {
        case pelor::ui::DisplayState::Unset:
            std::fprintf(stderr,
                         "pelor: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                         "Start it from a desktop session, or under a virtual screen:\n"
                         "  xvfb-run -a %s\n",
                         argv[0]);
            return 2;
        case pelor::ui::DisplayState::Unreachable:
            std::fprintf(stderr,
                         "pelor: cannot open the display \"%s\" (no X server answers there, or "
                         "it refused the connection).\n"
                         "Check DISPLAY, or start it under a virtual screen:\n"
                         "  xvfb-run -a %s\n",
                         where.c_str(), argv[0]);
            return 2;
        case pelor::ui::DisplayState::Usable:
            break;
    }
    QApplication app(argc, argv);
    pelor::ui::CDataViewerApp application;
    application.InitInstance();
    return EXIT_SUCCESS;
}
