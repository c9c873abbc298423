// LoadTableFile over arbitrary file contents, into a destination just the size of a table.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/prompt.h"
#include "fuzz_support.h"
#include "tables/table_file.h"
#include "tables/table_types.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = pelor::fuzz::ScratchFolder();
    if (!pelor::fuzz::WriteInput(dir + "table.txt", data, size)) return 0;
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
    pelor::tables::LoadTableFile(prompt, dir, "table.txt", destination, false);
    return 0;
}
