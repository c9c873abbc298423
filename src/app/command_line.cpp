#include "app/command_line.h"

namespace pelor::app {

namespace {

// Qt's own options that take a value, and those that do not: passed on untouched.
constexpr std::string_view kQtValueOptions[] = {
    "-platform",    "-platformpluginpath", "-platformtheme",
    "-plugin",      "-qmljsdebugger",      "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle",       "-display",
    "-style",       "-stylesheet",         "-session",
    "-geometry"};
constexpr std::string_view kQtFlagOptions[] = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                               "-sync"};

bool IsQtOption(std::string_view arg, bool& takesValue) {
    for (std::string_view o : kQtValueOptions) {
        if (arg == o) {
            takesValue = true;
            return true;
        }
        if (arg.size() > o.size() && arg.substr(0, o.size()) == o && arg[o.size()] == '=') {
            takesValue = false;
            return true;
        }
    }
    for (std::string_view o : kQtFlagOptions) {
        if (arg == o) {
            takesValue = false;
            return true;
        }
    }
    return false;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool qtValue = false;
        if (arg == "-h" || arg == "--help") {
            line.help = true;
        } else if (arg == "-v" || arg == "--version") {
            line.version = true;
        } else if (arg == "--project" || arg == "-p") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                line.error = "--project needs a project file (.cdp)";
                return line;
            }
            line.project = args[++i];
        } else if (arg.rfind("--project=", 0) == 0) {
            line.project = arg.substr(10);
            if (line.project.empty()) {
                line.error = "--project needs a project file (.cdp)";
                return line;
            }
        } else if (arg == "--discovery-target" || arg.rfind("--discovery-target=", 0) == 0) {
            std::string value;
            if (arg.size() > 18) {
                value = arg.substr(19);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            }
            const auto target = links::ParseDiscoveryTarget(value);
            if (!target) {
                line.error =
                    "--discovery-target needs a dotted address, with :PORT if wanted "
                    "(got '" +
                    value + "')";
                return line;
            }
            line.discoveryTarget = *target;
        } else if (IsQtOption(arg, qtValue)) {
            if (qtValue) ++i;
        } else {
            line.error = "unknown argument '" + arg + "'";
            return line;
        }
    }
    return line;
}

std::string UsageText(std::string_view program) {
    std::string text = "Usage: ";
    text += program;
    text +=
        " [--project FILE] [--discovery-target ADDR[:PORT]] [--help] [--version]\n"
        "Instrument dashboard for boats: shows a sensor unit's or an NMEA 2000 network's\n"
        "values as gauges, records and plays back logs and edits the unit's tables.\n"
        "\n"
        "  -p, --project FILE  open this project file (.cdp) instead of the last one used;\n"
        "                      it is remembered for the next start once it opens\n"
        "  --discovery-target ADDR[:PORT]\n"
        "                      send the gateway scan's request here instead of the\n"
        "                      broadcast 192.168.0.255:30718 (port 30718 when not given)\n"
        "  -h, --help          show this text and exit\n"
        "  -v, --version       show the version and exit\n"
        "\n"
        "Settings are kept in ~/.config/Ferrulon/pelor.conf (or $XDG_CONFIG_HOME).\n";
    return text;
}

}  // namespace pelor::app
