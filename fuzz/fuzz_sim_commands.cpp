// The unit simulator's command parser over arbitrary received bytes, fed in pieces of varying
// size; every command found is applied to a simulated unit.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "../tools/simulator/command_parser.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pelor::sim::CommandParser parser;
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    std::size_t piece = 1;
    while (at < all.size()) {
        const std::size_t n = std::min(piece, all.size() - at);
        for (const auto& c : parser.Feed(all.substr(at, n))) {
            if (c.kind == pelor::sim::CommandKind::Record && c.data.size() > 255) __builtin_trap();
        }
        if (parser.Pending() > pelor::sim::kMaxPending) __builtin_trap();
        at += n;
        piece = piece * 3 % 97 + 1;
    }
    return 0;
}
