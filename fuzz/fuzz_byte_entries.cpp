// ReadByteEntries over arbitrary file contents with skip and count taken from the input.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/prompt.h"
#include "fuzz_support.h"
#include "tables/table_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int skip = data[0] * 8;
    const int count = data[1] * 8;
    const std::string path = pelor::fuzz::ScratchFolder() + "entries.txt";
    if (!pelor::fuzz::WriteInput(path, data + 2, size - 2)) return 0;
    std::vector<std::uint8_t> destination(static_cast<std::size_t>(count));
    pelor::core::ScriptedPrompt prompt;
    pelor::tables::ReadByteEntries(prompt, path, skip, count, destination);
    return 0;
}
