// Port names as the settings hold them: "COM" numbers and device paths of any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "links/serial_device.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    if (const auto number = pelor::links::ComPortNumber(name)) {
        if (*number < 1 || *number > 255) __builtin_trap();
        // A number names the same device every time, and that device maps back to it.
        const auto path = pelor::links::ResolvePortName(name);
        if (path != pelor::links::ComPortDevice(*number)) __builtin_trap();
        if (path && pelor::links::ComPortNumberOfDevice(*path) != number) __builtin_trap();
    } else if (pelor::links::ResolvePortName(name) !=
               (name.starts_with('/') ? std::optional<std::string>(name) : std::nullopt)) {
        __builtin_trap();
    }
    if (const auto number = pelor::links::ComPortNumberOfDevice(name)) {
        if (pelor::links::ComPortDevice(*number) != std::string(name)) __builtin_trap();
    }
    return 0;
}
