#include "decode/text_framer.h"

#include "core/hex.h"

namespace pelor::decode {

FramedSentence TextFramer::Frame(std::size_t start, std::size_t commas) const {
    FramedSentence s;
    s.start = start;
    if (start >= text_.size()) return s;
    std::size_t at = start;
    for (std::size_t k = 0; k < commas && k < FramedSentence::kMaxCommas; ++k) {
        at = text_.find(',', at + 1);
        if (at == kNoPosition) return s;
        s.commas[k] = at;
    }
    const std::size_t star = text_.find('*', at + 1);
    if (star == kNoPosition || star + 2 >= text_.size()) return s;
    s.star = star;
    const std::uint8_t sum = core::XorChecksum(text_.substr(start + 1, star - start - 1));
    s.state = sum == core::HexPairValue(text_[star + 1], text_[star + 2])
                  ? FramedSentence::State::Good
                  : FramedSentence::State::BadChecksum;
    return s;
}

void KeepTail(std::string& receive, std::string_view text, std::size_t start) {
    if (start > text.size()) start = text.size();
    if (text.data() == receive.data() && text.size() == receive.size()) {
        receive.erase(0, start);
    } else {
        receive.assign(text.substr(start));
    }
}

void DispatchSentences(std::span<const SentenceRow> rows, ChannelStore& store,
                       const ChannelContext& context, std::string_view text) {
    const TextFramer framer(text);
    // The first start of each row, found in one pass over the '$' of the text.
    std::array<std::size_t, kMaxSentenceRows> first{};
    first.fill(kNoPosition);
    const std::size_t count = rows.size() < kMaxSentenceRows ? rows.size() : kMaxSentenceRows;
    // The start all rows share: no row's sentence comes before the first of it.
    std::string_view common = count > 0 ? rows[0].prefix : std::string_view();
    for (std::size_t r = 1; r < count; ++r) {
        std::size_t n = 0;
        while (n < common.size() && n < rows[r].prefix.size() && common[n] == rows[r].prefix[n])
            ++n;
        common = common.substr(0, n);
    }
    std::size_t missing = count;
    for (std::size_t p = framer.Find(common); p != kNoPosition && missing > 0;
         p = framer.Find("$", p + 1)) {
        for (std::size_t r = 0; r < count; ++r) {
            if (first[r] == kNoPosition && framer.StartsAt(p, rows[r].prefix)) {
                first[r] = p;
                --missing;
            }
        }
    }
    for (std::size_t r = 0; r < count; ++r) {
        const SentenceRow& row = rows[r];
        if (first[r] == kNoPosition) {
            if (row.absent != nullptr) row.absent(store, context);
        } else if (framer.Arrived(first[r], row.minimumLength)) {
            row.handler(store, context, text.substr(first[r]));
        }
    }
}

}  // namespace pelor::decode
