#include "decode/text_framer.h"

#include "core/hex.h"

namespace pelor::decode {

std::string_view TextFramer::Field(std::size_t from, std::size_t count, std::size_t end) const {
    const std::size_t stop = end < text_.size() ? end : text_.size();
    if (from >= stop) return {};
    return text_.substr(from, count < stop - from ? count : stop - from);
}

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
    s.state = sum == core::FixedHexValue(text_.substr(star + 1, 2), 2)
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
    for (const SentenceRow& row : rows) {
        const std::size_t p = framer.Find(row.prefix);
        if (p == kNoPosition) {
            if (row.absent != nullptr) row.absent(store, context);
        } else if (framer.Arrived(p, row.minimumLength)) {
            row.handler(store, context, text.substr(p));
        }
    }
}

}  // namespace pelor::decode
