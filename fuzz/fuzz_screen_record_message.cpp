// The 130960 screen record message: byte 0 picks the display type, byte 1 the dial and ramp
// frame offsets, the rest is the payload, applied directly and inside an adapter frame.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "decode/n2k_binary.h"
#include "decode/n2k_formatters.h"
#include "decode_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    if (size < 2) return 0;
    static auto* fuzz = new fuzz::DecodeFuzzContext();
    fuzz->context.displayType = data[0] % 16;
    fuzz->context.frameOffsets[0] = data[1] & 0x80 ? 255 : data[1] & 0x0F;
    fuzz->context.frameOffsets[1] = data[1] & 0x40 ? 255 : (data[1] >> 4) & 0x03;
    const std::span<const std::uint8_t> payload(data + 2, size - 2);
    decode::ApplyScreenRecordMessage(fuzz->store, fuzz->context,
                                     decode::N2KMessage{130960, payload});
    if (fuzz->labelStrings[0].size() > 8) __builtin_trap();

    // The same payload as the adapter delivers it (stuffed, length byte truncated to 8 bits).
    std::vector<std::uint8_t> frame{0x10,
                                    0x02,
                                    0x93,
                                    static_cast<std::uint8_t>(11 + payload.size()),
                                    2,
                                    0x90,
                                    0xFF,
                                    0x01,
                                    0xFF,
                                    0x01,
                                    0,
                                    0,
                                    0,
                                    0,
                                    static_cast<std::uint8_t>(payload.size())};
    for (const std::uint8_t b : payload) {
        frame.push_back(b);
        if (b == 0x10) frame.push_back(b);
    }
    frame.insert(frame.end(), {0x00, 0x10, 0x03});
    decode::DecodeN2KBinary(fuzz->store, fuzz->context, frame.data(), frame.size());
    return 0;
}
