#include "decode/transducer_sentences.h"

#include "decode/receive_text.h"

namespace pelor::decode {
namespace {

constexpr std::string_view kStart = "$IIXDR,";
constexpr std::string_view kGatewayStart = "$PKZLN,";
constexpr std::size_t kShortest = 32;  // a sentence needs more than this after its '$'
constexpr std::size_t kNameToStar = 10;

// Decodes what it can and returns where the tail starts.
std::size_t DecodeAll(ChannelStore& store, const ChannelContext& context, std::string_view text) {
    if (text.size() <= kShortest) return 0;
    constexpr auto npos = std::string_view::npos;
    std::size_t last = npos;
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = text.find(kStart, from);
        if (p == npos) break;
        last = p;
        if (p + kShortest >= text.size()) break;  // not complete yet
        const std::size_t c1 = text.find(',', p + 1);
        const std::size_t c2 = text.find(',', c1 + 1);
        const std::size_t c3 = c2 == npos ? npos : text.find(',', c2 + 1);
        const std::size_t c4 = c3 == npos ? npos : text.find(',', c3 + 1);
        const std::size_t s = c4 == npos ? npos : text.find('*', c4 + 1);
        // Fields or checksum digits still to come: wait for more characters.
        if (s == npos || s + 2 >= text.size()) break;

        unsigned sum = 0;
        for (std::size_t i = p + 1; i < s; ++i) sum ^= static_cast<unsigned char>(text[i]);
        const unsigned want =
            static_cast<unsigned>(16 * HexDigit(text[s + 1]) + HexDigit(text[s + 2]));
        if (sum != want) {
            from = s;
            continue;
        }
        // A name field that is not 9 characters: the sentence cannot say its channel. It is
        // skipped like a bad checksum, so that it does not hold up the sentences behind it.
        if (s < p + kNameToStar || text[s - kNameToStar] != ',') {
            from = s;
            continue;
        }

        const int channel = HexDigit(text[s - 1]);
        const std::size_t end = s + 4 < text.size() ? s + 4 : text.size();
        store.LastSentence[static_cast<std::size_t>(channel)].assign(text.substr(p, end - p));
        UpdateChannel(store, context, channel, text.substr(c2 + 1, c3 - c2));
        from = s;
    }
    if (last == npos) return 0;
    // NMEA 2000 sentences before the last transducer sentence stay for their own decoder,
    // which runs next on what is kept.
    const std::size_t gateway = text.find(kGatewayStart);
    return gateway < last ? gateway : last;
}

}  // namespace

std::size_t DecodeTransducerSentences(ChannelStore& store, const ChannelContext& context,
                                      std::string_view text) {
    const std::size_t start = DecodeAll(store, context, text);
    KeepTail(store.ReceiveText, text, start);
    return store.ReceiveText.size();
}

}  // namespace pelor::decode
