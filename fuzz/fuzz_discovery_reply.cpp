// One discovery reply datagram as a gateway (or anything else on the network) sends it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "links/discovery_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    const auto kind =
        pelor::links::DescribeDiscoveryReply(std::span(data, size), "127.0.0.1", lines);
    const std::size_t expected = kind == pelor::links::ReplyKind::Gateway ? 5 : 1;
    if (lines.size() != expected) __builtin_trap();
    for (const auto& l : lines) {
        for (const char c : l) {
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
