// "$PKZLN," sentences: the first 32 bytes map the channels to NMEA 2000 sources, the rest is
// the receive text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/n2k_text.h"
#include "decode_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    static auto* fuzz = new fuzz::DecodeFuzzContext();
    const std::size_t used = fuzz->TakeSources(data, size);
    const std::string text(reinterpret_cast<const char*>(data + used), size - used);
    decode::DecodeEncapsulatedN2K(fuzz->store, fuzz->context, text);
    if (fuzz->store.ReceiveText.size() > text.size()) __builtin_trap();
    // And in place, as the reader pass calls it.
    fuzz->store.ReceiveText = text;
    decode::DecodeEncapsulatedN2K(fuzz->store, fuzz->context, fuzz->store.ReceiveText);
    return 0;
}
