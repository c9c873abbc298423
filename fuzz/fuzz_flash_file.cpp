// The flash file reader over arbitrary contents: every kind, every record, no read outside.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "unit/flash_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // With and without an address text chosen in the file list.
    pelor::unit::ParseFlashText(text, "");
    pelor::unit::ParseFlashText(text, "6800");
    return 0;
}
