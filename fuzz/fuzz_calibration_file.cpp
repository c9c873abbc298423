// ReadCalibrationFile (the calibration table editor's reader) over arbitrary file contents,
// read from memory through the same reading code as a file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/prompt.h"
#include "core/text_file.h"
#include "tables/calibration_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelor::core::TextFile file;
    if (!file.OpenMemory(std::string_view(reinterpret_cast<const char*>(data), size),
                         "calibration.txt")) {
        return 0;
    }
    pelor::core::ScriptedPrompt prompt;
    const auto read = pelor::tables::ReadCalibrationFile(prompt, file, "calibration.txt");
    for (const auto& row : read.rows) {
        if (row.value.size() > 6 || row.index.size() > 2) __builtin_trap();
    }
    return 0;
}
