// The text framer over fuzzed text: every sentence start framed with 0 to 4 commas, fields
// taken at positions around and past the text, and the unit sentences dispatched. Byte 0
// picks the commas and a field width; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/hex.h"
#include "decode/reader_pass.h"
#include "decode/text_framer.h"
#include "decode_fuzz_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    using decode::FramedSentence;
    if (size < 1) return 0;
    static auto* fuzz = new fuzz::DecodeFuzzContext();
    const std::size_t commas = data[0] % (FramedSentence::kMaxCommas + 1);
    const std::size_t width = data[0] >> 3;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const decode::TextFramer framer(text);
    for (std::size_t p = framer.Find("$"); p != decode::kNoPosition; p = framer.Find("$", p + 1)) {
        const FramedSentence s = framer.Frame(p, commas);
        if (s.state == FramedSentence::State::Incomplete) {
            if (s.star != decode::kNoPosition) __builtin_trap();
            continue;
        }
        // A framed sentence lies inside the text, its commas in order before its '*'.
        if (s.star <= p || s.star + 2 >= text.size() || text[s.star] != '*') __builtin_trap();
        std::size_t previous = p;
        for (std::size_t k = 0; k < commas; ++k) {
            if (s.commas[k] <= previous || s.commas[k] >= s.star || text[s.commas[k]] != ',')
                __builtin_trap();
            previous = s.commas[k];
        }
        const bool good = core::XorChecksum(text.substr(p + 1, s.star - p - 1)) ==
                          core::FixedHexValue(text.substr(s.star + 1, 2), 2);
        if (good != (s.state == FramedSentence::State::Good)) __builtin_trap();
        const std::string_view field = framer.Field(p + 1, width, s.star);
        if (field.size() > width ||
            (!field.empty() && field.data() + field.size() > text.data() + s.star))
            __builtin_trap();
    }
    for (const std::size_t at :
         {std::size_t{0}, text.size() / 2, text.size(), text.size() + 1, decode::kNoPosition}) {
        const std::string_view field = framer.Field(at, width);
        if (!field.empty() && (at >= text.size() || field.size() > text.size() - at))
            __builtin_trap();
        (void)framer.At(at);
    }
    fuzz->store.ReceiveText.assign(text);
    decode::ApplyUnitSentences(fuzz->store, fuzz->context);
    if (fuzz->store.ReceiveText != text) __builtin_trap();  // the rows only read the text
    return 0;
}
