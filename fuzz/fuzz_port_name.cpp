// Port names as the settings hold them: "COM" numbers and device paths of any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "links/serial_device.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> ports = {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM0"};
    if (const auto number = pelor::links::ComPortNumber(name)) {
        if (*number < 1 || *number > 255) __builtin_trap();
        const auto path = pelor::links::ResolvePortName(name, ports);
        if (path.has_value() != (*number <= 3)) __builtin_trap();
    } else if (!name.empty() && pelor::links::ResolvePortName(name, ports) != std::string(name)) {
        __builtin_trap();
    }
    return 0;
}
