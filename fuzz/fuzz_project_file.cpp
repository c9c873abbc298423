// LoadProject over arbitrary file contents. Bitmap paths are defused first: the loader opens
// a named bitmap for writing, and fuzzed paths must not create files around the machine.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/prompt.h"
#include "fuzz_support.h"
#include "tables/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (std::size_t at = text.find(".bmp"); at != std::string::npos; at = text.find(".bmp", at)) {
        text[at + 3] = 'q';
    }
    const std::string& dir = pelor::fuzz::ScratchFolder();
    if (!pelor::fuzz::WriteInput(dir + "project.cdp",
                                 reinterpret_cast<const std::uint8_t*>(text.data()), text.size())) {
        return 0;
    }
    pelor::core::ScriptedPrompt prompt;  // every dialog cancelled: the folder never changes
    pelor::tables::Project project;
    pelor::tables::LoadProject(prompt, project, dir, "project.cdp", false);
    return 0;
}
