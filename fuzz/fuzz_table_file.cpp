// The start-up table reader over arbitrary file contents (read from memory through the same
// reading code as a file), into a destination just the size of a table.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/prompt.h"
#include "core/text_file.h"
#include "tables/table_file.h"
#include "tables/table_types.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelor::core::TextFile file;
    if (!file.OpenMemory(std::string_view(reinterpret_cast<const char*>(data), size),
                         "table.txt")) {
        return 0;
    }
    // The last byte picks the destination size, so short tables are fuzzed too.
    const std::size_t sizes[] = {pelor::tables::kLabelTableSize,
                                 pelor::tables::kPageTableSize,
                                 pelor::tables::kOptionsTableSize,
                                 pelor::tables::kCalibrationTableSize,
                                 7,
                                 0};
    const std::size_t pick = size > 0 ? data[size - 1] % 6 : 0;
    std::vector<std::uint8_t> destination(sizes[pick]);
    pelor::core::ScriptedPrompt prompt;
    if (pelor::tables::ReadTableEntries(prompt, file, "table.txt", destination) != "table.txt")
        __builtin_trap();
    return 0;
}
