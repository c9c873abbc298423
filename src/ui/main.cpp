// Pelor: instrument dashboard. Starts the main window; see UsageText for the arguments.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/settings.h"
#include "ui/data_viewer_app.h"
#include "ui/display_probe.h"

#if defined(__SANITIZE_ADDRESS__)
// On the X platform the system's D-Bus and fontconfig libraries keep a few allocations for the
// life of the process; they are not the program's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}
#endif

namespace {

// The project named on the command line, as the dashboard opens it. Empty when the file is not
// there.
std::string ProjectPath(const std::string& given) {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(given, ec);
    if (ec || !std::filesystem::is_regular_file(path, ec)) return {};
    return path.lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const pelor::app::CommandLine line = pelor::app::ParseCommandLine(args);
    const char* program = argc > 0 ? argv[0] : "pelor";
    if (!line.error.empty()) {
        std::fprintf(stderr, "pelor: %s\n%s", line.error.c_str(),
                     pelor::app::UsageText(program).c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(pelor::app::UsageText(program).c_str(), stdout);
        return EXIT_SUCCESS;
    }
    if (line.version) {
        std::printf("pelor %.*s\n", static_cast<int>(pelor::app::kProgramVersion.size()),
                    pelor::app::kProgramVersion.data());
        return EXIT_SUCCESS;
    }
    pelor::app::SetDiscoveryTargetInUse(line.discoveryTarget);
    if (line.discoveryTarget.address != pelor::links::DiscoveryTarget{}.address ||
        line.discoveryTarget.port != pelor::links::DiscoveryTarget{}.port) {
        std::fprintf(stderr, "pelor: gateway scans send their request to %s:%u\n",
                     line.discoveryTarget.address.c_str(), line.discoveryTarget.port);
    }
    std::string project;
    if (!line.project.empty()) {
        project = ProjectPath(line.project);
        if (project.empty()) {
            std::fprintf(stderr, "pelor: no project file at '%s'\n", line.project.c_str());
            return 2;
        }
    }
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
    // The project named here is opened in place of the saved one; it is remembered at exit
    // only when it opened (a refused one leaves the saved path as it was).
    pelor::ui::CDataViewerApp application;
    application.projectForThisRun = project;
    application.InitInstance();
    return application.exitStatus;
}
