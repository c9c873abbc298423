// A received batch of adapter bytes converted into "$PKZLN," sentences for a text log.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "logs/capture_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    static std::string out;
    static std::basic_string<std::uint8_t> scratch;
    out.clear();
    logs::AppendFrameSentences(out, std::span<const std::uint8_t>(data, size), scratch);
    // Each sentence ends in '*', two upper-case hex digits and a carriage return; its
    // checksum holds.
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = out.find('\r', start);
        if (end == std::string::npos || end < start + 4 || out[start] != '$' || out[end - 3] != '*')
            __builtin_trap();
        unsigned sum = 0;
        for (std::size_t i = start + 1; i < end - 3; ++i) sum ^= static_cast<unsigned char>(out[i]);
        const std::string want = out.substr(end - 2, 2);
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", sum);
        if (want != hex) __builtin_trap();
        start = end + 1;
    }
    return 0;
}
