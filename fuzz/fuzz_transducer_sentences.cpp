// "$IIXDR," sentences in a receive text, decoded from a copy and in place.
#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/transducer_sentences.h"
#include "decode_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    static auto* fuzz = new fuzz::DecodeFuzzContext();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t tail = decode::DecodeTransducerSentences(fuzz->store, fuzz->context, text);
    if (tail > text.size() || fuzz->store.ReceiveText != text.substr(text.size() - tail))
        __builtin_trap();
    fuzz->store.ReceiveText = text;
    decode::DecodeTransducerSentences(fuzz->store, fuzz->context, fuzz->store.ReceiveText);
    return 0;
}
