// Adapter frames: the first 32 bytes map the channels to NMEA 2000 sources, the rest is one
// read of the binary stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "decode/n2k_binary.h"
#include "decode_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    static auto* fuzz = new fuzz::DecodeFuzzContext();
    const std::size_t used = fuzz->TakeSources(data, size);
    std::vector<std::uint8_t> bytes(data + used, data + size);
    const decode::N2KBatch batch =
        decode::DecodeN2KBinary(fuzz->store, fuzz->context, bytes.data(), bytes.size());
    decode::ApplyN2KBatchStatus(fuzz->store, batch);
    if (batch.N2KPackets < 0 || static_cast<std::size_t>(batch.N2KPackets) > bytes.size())
        __builtin_trap();
    return 0;
}
