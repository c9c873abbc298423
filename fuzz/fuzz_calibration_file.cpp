// ReadCalibrationFile (the calibration table editor's reader) over arbitrary file contents.
#include <cstddef>
#include <cstdint>

#include "core/prompt.h"
#include "fuzz_support.h"
#include "tables/calibration_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = pelor::fuzz::ScratchFolder();
    if (!pelor::fuzz::WriteInput(dir + "calibration.txt", data, size)) return 0;
    pelor::core::ScriptedPrompt prompt;
    pelor::tables::ReadCalibrationFile(prompt, dir, "calibration.txt");
    return 0;
}
