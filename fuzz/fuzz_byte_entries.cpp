// ReadByteEntries over arbitrary file contents with skip and count taken from the input. The
// contents are read from memory through the same reading code as a file.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/prompt.h"
#include "core/text_file.h"
#include "tables/table_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int skip = data[0] * 8;
    const int count = data[1] * 8;
    pelor::core::TextFile file;
    if (!file.OpenMemory(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2),
                         "entries.txt")) {
        return 0;
    }
    std::vector<std::uint8_t> destination(static_cast<std::size_t>(count));
    pelor::core::ScriptedPrompt prompt;
    pelor::tables::ReadByteEntries(prompt, file, skip, count, destination);
    return 0;
}
