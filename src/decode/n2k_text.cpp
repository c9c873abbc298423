#include "decode/n2k_text.h"

#include <array>
#include <cstdint>
#include <limits>

#include "core/format.h"
#include "core/hex.h"
#include "decode/n2k_formatters.h"
#include "decode/n2k_message.h"
#include "decode/receive_text.h"

namespace pelor::decode {
namespace {

constexpr std::string_view kStart = "$PKZLN,";
constexpr std::size_t kPgnAt = 7;
constexpr std::size_t kTimeAt = 14;
constexpr std::size_t kPayloadAt = 26;

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Hexadecimal number of at most `count` characters from `from`, never reading at or past
// `end`: leading blanks and a sign are allowed, any-case digits, stopping at the first
// other character; the result is clamped to the signed 32-bit range.
std::int64_t ReadHexNumber(std::string_view text, std::size_t from, std::size_t count,
                           std::size_t end) {
    std::size_t i = from;
    const std::size_t stop = from + count < end ? from + count : end;
    while (i < stop && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < stop && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < stop && IsHex(text[i]); ++i)
        value = value * 16 + core::HexDigitValueAnyCase(text[i]);
    if (negative) value = -value;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    return value > kMax ? kMax : (value < kMin ? kMin : value);
}

}  // namespace

std::size_t CheckN2KSentence(std::string_view text, std::size_t start) {
    const std::size_t star = text.find('*', start + 1);
    if (star == std::string_view::npos || star + 2 >= text.size()) return 0;
    unsigned sum = 0;
    for (std::size_t i = start + 1; i < star; ++i) sum ^= static_cast<unsigned char>(text[i]);
    const unsigned want =
        static_cast<unsigned>(16 * HexDigit(text[star + 1]) + HexDigit(text[star + 2]));
    return sum == want ? star : 0;
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
    for (;;) {
        const std::size_t p = text.find(kStart, from);
        if (p == std::string_view::npos) break;
        const std::size_t star = CheckN2KSentence(text, p);
        if (star == 0) {
            const std::size_t end = text.find('*', p + 1);
            if (end == std::string_view::npos || end + 2 >= text.size()) {
                keepFrom = p;  // not complete yet: wait for the rest
                break;
            }
            // Complete but damaged (bad checksum, or cut short so that the next sentence's
            // '$' comes before the '*'): skipped, so that the sentences behind it decode.
            const std::size_t next = text.find('$', p + 1);
            from = next < end ? next : end;
            keepFrom = text.size();
            continue;
        }
        const auto pgn = static_cast<std::uint32_t>(ReadHexNumber(text, p + kPgnAt, 6, star));
        if (const N2KRoute* route = FindTextRoute(pgn)) {
            lastTime = ReadHexNumber(text, p + kTimeAt, 8, star);
            // Digits at or past the '*' are missing and read as 0.
            for (std::size_t b = 0; b < route->text.bytes; ++b) {
                const std::size_t hi = p + kPayloadAt + 2 * b;
                const int high = hi < star ? HexDigit(text[hi]) : 0;
                const int low = hi + 1 < star ? HexDigit(text[hi + 1]) : 0;
                payload[b] = static_cast<std::uint8_t>(16 * high + low);
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
