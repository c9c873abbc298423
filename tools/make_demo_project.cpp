// Writes the demo project into a folder (default: examples/demo of the source tree).
//   make_demo_project [folder]
#include <cstdio>
#include <string>

#include "core/prompt.h"
#include "demo_project.h"

int main(int argc, char** argv) {
    std::string directory = argc > 1 ? argv[1] : PELOR_SOURCE_DIR "/examples/demo";
    if (directory.empty() || directory.back() != '/') directory.push_back('/');
    pelor::core::ScriptedPrompt prompt;
    const bool ok = pelor::tools::MakeDemoProject(prompt, directory);
    for (const auto& s : prompt.shown) {
        if (s.caption != "Status")
            std::fprintf(stderr, "%s: %s\n", s.caption.c_str(), s.text.c_str());
    }
    if (!ok) return 1;
    std::printf("demo project written to %s\n", directory.c_str());
    return 0;
}
