#pragma once
// The dashboard's command line: pelor [--project FILE] [--discovery-target ADDR[:PORT]]
// [--help] [--version].
#include <string>
#include <string_view>
#include <vector>

#include "links/discovery_reply.h"

namespace pelor::app {

inline constexpr std::string_view kProgramVersion = "3.04";

struct CommandLine {
    bool help = false;
    bool version = false;
    std::string project;  // as given; empty when not given
    // Where the gateway scan sends its request: the default unless --discovery-target is given.
    links::DiscoveryTarget discoveryTarget;
    std::string error;  // not empty: the line could not be used; say it and the usage
};

// Reads the arguments after the program name. Arguments Qt takes for itself (-platform,
// -style, ...) are left for Qt and not reported.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The usage text printed by --help and after an error.
std::string UsageText(std::string_view program);

}  // namespace pelor::app
