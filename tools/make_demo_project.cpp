// Writes the demo projects with the project's own table writers.
//   make_demo_project                 both, into examples/demo and examples/demo-n2k
//   make_demo_project FOLDER          the demo for the unit's own sentences
//   make_demo_project --n2k FOLDER    the demo for NMEA 2000 sources
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/prompt.h"
#include "demo_project.h"
#include "demo_project_n2k.h"

namespace {

using Maker = bool (*)(pelor::core::Prompt&, const std::string&);

bool Write(Maker make, std::string directory) {
    if (directory.empty() || directory.back() != '/') directory.push_back('/');
    std::error_code ignored;  // a folder that cannot be made fails at the first file
    std::filesystem::create_directories(directory, ignored);
    pelor::core::ScriptedPrompt prompt;
    const bool ok = make(prompt, directory);
    for (const auto& s : prompt.shown) {
        if (s.caption != "Status")
            std::fprintf(stderr, "%s: %s\n", s.caption.c_str(), s.text.c_str());
    }
    if (ok) std::printf("demo project written to %s\n", directory.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    using pelor::tools::MakeDemoProject;
    using pelor::tools::MakeN2kDemoProject;
    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 1) {
        const bool demo = Write(MakeDemoProject, PELOR_SOURCE_DIR "/examples/demo");
        const bool n2k = Write(MakeN2kDemoProject, PELOR_SOURCE_DIR "/examples/demo-n2k");
        return demo && n2k ? 0 : 1;
    }
    if (first == "--n2k") {
        if (argc != 3) {
            std::fprintf(stderr, "usage: make_demo_project [--n2k] [FOLDER]\n");
            return 2;
        }
        return Write(MakeN2kDemoProject, argv[2]) ? 0 : 1;
    }
    return Write(MakeDemoProject, first) ? 0 : 1;
}
