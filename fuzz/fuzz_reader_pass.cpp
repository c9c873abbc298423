// Reader passes over fuzzed reads: byte 0 picks the link, byte 1 the read size, the rest is
// the received stream, cut into reads of that size.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/reader_pass.h"
#include "decode_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    if (size < 2) return 0;
    static auto* fuzz = new fuzz::DecodeFuzzContext();
    fuzz->store.ReceiveText.clear();
    const auto link = static_cast<decode::LinkKind>(data[0] % 3);
    const std::size_t chunk = 1 + data[1];
    fuzz->context.showComStatus = (data[1] & 1) != 0;
    // The screen record parser is another module's; here it checks what it is handed.
    fuzz->context.parseScreenRecords = [](decode::ChannelStore& store) {
        if (store.ReceiveText.size() > 2 * decode::kReceiveTextLimit) __builtin_trap();
        store.ReceiveText.erase(0, store.ReceiveText.size() / 2);
    };
    fuzz->context.captureTick = [](decode::ChannelStore& store) {
        for (const auto& s : store.LastSentence) (void)s.size();
    };
    const std::string_view stream(reinterpret_cast<const char*>(data + 2), size - 2);
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
        decode::ReaderPass(fuzz->store, fuzz->context, stream.substr(at, chunk), link);
        if (fuzz->store.ReceiveText.size() > decode::kReceiveTextLimit + chunk) __builtin_trap();
    }
    return 0;
}
