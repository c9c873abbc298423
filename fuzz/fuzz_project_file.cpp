// The project file reader over arbitrary contents, read from memory through the same reading
// code as a file. Bitmap paths are defused first: the reader opens a named bitmap for writing,
// and fuzzed paths must not create files around the machine.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/prompt.h"
#include "core/text_file.h"
#include "tables/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (std::size_t at = text.find(".bmp"); at != std::string::npos; at = text.find(".bmp", at)) {
        text[at + 3] = 'q';
    }
    pelor::core::TextFile file;
    if (!file.OpenMemory(text, "project.cdp")) return 0;
    pelor::core::ScriptedPrompt prompt;
    pelor::tables::Project project;
    const std::string name = pelor::tables::ReadProject(prompt, project, file, "project.cdp");
    if (!name.empty() && name != "project.cdp") __builtin_trap();
    // Every name the reader keeps was cut after its extension: no line end is carried over.
    for (const std::string& n : {project.labelsFile, project.pageFile, project.optionsFileC,
                                 project.logFile, project.themeFile}) {
        if (n.find('\n') != std::string::npos) __builtin_trap();
    }
    return 0;
}
