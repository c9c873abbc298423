#include "decode/transducer_sentences.h"

#include "core/hex.h"
#include "decode/text_framer.h"

namespace pelor::decode {
namespace {

constexpr std::string_view kStart = "$IIXDR,";
constexpr std::string_view kGatewayStart = "$PKZLN,";
constexpr std::size_t kShortest = 33;  // characters from the '$' on before a sentence is looked at
constexpr std::size_t kFieldCommas = 4;
constexpr std::size_t kNameToStar = 10;

// Decodes what it can and returns where the tail starts.
std::size_t DecodeAll(ChannelStore& store, const ChannelContext& context, std::string_view text) {
    const TextFramer framer(text);
    if (text.size() < kShortest) return 0;
    std::size_t last = kNoPosition;
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = framer.Find(kStart, from);
        if (p == kNoPosition) break;
        last = p;
        if (!framer.Arrived(p, kShortest)) break;  // not complete yet
        const FramedSentence s = framer.Frame(p, kFieldCommas);
        // Fields or checksum digits still to come: wait for more characters.
        if (s.state == FramedSentence::State::Incomplete) break;
        from = s.star;
        if (s.state == FramedSentence::State::BadChecksum) continue;
        // A name field that is not 9 characters: the sentence cannot say its channel. It is
        // skipped like a bad checksum, so that it does not hold up the sentences behind it.
        if (s.star < p + kNameToStar || text[s.star - kNameToStar] != ',') continue;

        const int channel = core::HexDigitValue(text[s.star - 1]);
        store.LastSentence[static_cast<std::size_t>(channel)].assign(
            framer.Field(p, s.star + 4 - p));
        const std::size_t valueFrom = s.commas[1] + 1;
        UpdateChannel(store, context, channel, framer.Field(valueFrom, s.commas[2] - s.commas[1]));
    }
    if (last == kNoPosition) return 0;
    // NMEA 2000 sentences before the last transducer sentence stay for their own decoder,
    // which runs next on what is kept.
    const std::size_t gateway = framer.Find(kGatewayStart);
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
