#include "decode/n2k_text.h"

#include <array>
#include <cstdint>

#include "core/format.h"
#include "core/hex.h"
#include "decode/n2k_formatters.h"
#include "decode/n2k_message.h"
#include "decode/text_framer.h"

namespace pelor::decode {
namespace {

constexpr std::string_view kStart = "$PKZLN,";
constexpr std::size_t kPgnAt = 7;
constexpr std::size_t kTimeAt = 14;
constexpr std::size_t kPayloadAt = 26;

}  // namespace

std::size_t CheckN2KSentence(std::string_view text, std::size_t start) {
    const FramedSentence s = TextFramer(text).Frame(start);
    return s.state == FramedSentence::State::Good ? s.star : 0;
}

LinkClock SplitLinkTime(std::int64_t ms) {
    return {static_cast<int>(ms / 3600000), static_cast<int>((ms % 3600000) / 60000),
            static_cast<int>((ms % 60000) / 1000)};
}

void DecodeEncapsulatedN2K(ChannelStore& store, const ChannelContext& context,
                           std::string_view text) {
    std::int64_t lastTime = 0;
    std::size_t from = 0;
    std::size_t keepFrom = text.size();  // empty tail unless a sentence is held back
    std::array<std::uint8_t, kN2KLongestTextPayload> payload{};
    const TextFramer framer(text);
    for (;;) {
        const std::size_t p = framer.Find(kStart, from);
        if (p == kNoPosition) break;
        const FramedSentence s = framer.Frame(p);
        if (s.state == FramedSentence::State::Incomplete) {
            keepFrom = p;  // not complete yet: wait for the rest
            break;
        }
        const std::size_t star = s.star;
        if (s.state == FramedSentence::State::BadChecksum) {
            // Complete but damaged (bad checksum, or cut short so that the next sentence's
            // '$' comes before the '*'): skipped, so that the sentences behind it decode.
            const std::size_t next = framer.Find("$", p + 1);
            from = next < star ? next : star;
            keepFrom = text.size();
            continue;
        }
        const auto pgn =
            static_cast<std::uint32_t>(core::ReadHexNumber(framer.Field(p + kPgnAt, 6, star)));
        if (const N2KRoute* route = FindTextRoute(pgn)) {
            lastTime = core::ReadHexNumber(framer.Field(p + kTimeAt, 8, star));
            // Digits at or past the '*' are missing and read as 0.
            for (std::size_t b = 0; b < route->text.bytes; ++b) {
                const std::size_t hi = p + kPayloadAt + 2 * b;
                payload[b] =
                    static_cast<std::uint8_t>(core::FixedHexValue(framer.Field(hi, 2, star), 2));
            }
            if (context.messageDecoded) context.messageDecoded(route->text.decodeAs, lastTime);
            if (route->formatter != nullptr) {
                const N2KMessage message{
                    route->text.decodeAs,
                    std::span<const std::uint8_t>(payload.data(), route->text.bytes)};
                route->formatter(store, context, message);
            }
        }
        from = star;
    }
    if (keepFrom == text.size()) {
        // Past the last sentence: keep the start of one that a read cut ("$PKZ...").
        const std::size_t partial = text.rfind('$');
        if (partial != std::string_view::npos && partial >= from) keepFrom = partial;
    }
    KeepTail(store.ReceiveText, text, keepFrom);
    if (lastTime != 0) {
        const LinkClock t = SplitLinkTime(lastTime);
        store.m_strLinkStatus.clear();
        core::AppendFormat(store.m_strLinkStatus, "N2K: Link Time %02d:%02d:%02d  %s", t.hours,
                           t.minutes, t.seconds, store.SystemTimeText.c_str());
        store.m_strTitlePrefix = "connected to Nordplex.Net ";
    }
}

}  // namespace pelor::decode
