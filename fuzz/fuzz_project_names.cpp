// The FILES page's project "Choose" over arbitrary file contents: the names another project
// file holds, read into the page's fields.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/prompt.h"
#include "fuzz_support.h"
#include "prefs/files_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = pelor::fuzz::ScratchFolder() + "other.cdp";
    if (!pelor::fuzz::WriteInput(path, data, size)) return 0;
    pelor::core::ScriptedPrompt prompt;
    pelor::prefs::FilesPage page;
    pelor::prefs::ReadNamesFromProjectFile(prompt, path, page);
    return 0;
}
