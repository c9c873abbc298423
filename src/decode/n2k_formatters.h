#pragma once
// Per-PGN formatters: each finds the channels whose NMEA 2000 source (options bytes 256 + 2c:
// group code << 4 | instance, then the field code) names the message, turns the field into
// a value text "dddd##LL" (4 display characters, raw level as 2 upper-case hex digits) and
// applies it with UpdateChannel.
#include <cstddef>
#include <cstdint>

#include "decode/channel_context.h"
#include "decode/channel_store.h"
#include "decode/n2k_message.h"

namespace pelor::decode {

using N2KFormatter = void (*)(ChannelStore&, const ChannelContext&, const N2KMessage&);

// Channel walk for the PGNs of a formatter group in the route table; other PGNs do nothing.
void FormatN2KChannels(ChannelStore& store, const ChannelContext& context,
                       const N2KMessage& message);

// 127501, binary switch bank status: the switch module's own bank updates the switch states;
// any other bank goes to the channel walk.
void FormatSwitchBank(ChannelStore& store, const ChannelContext& context,
                      const N2KMessage& message);

// 126992, system time: sets SystemTimeText when the message comes from N2KTimeSource - 1.
void FormatSystemTime(ChannelStore& store, const ChannelContext& context,
                      const N2KMessage& message);

// 130960, one screen record of the unit in ASCII, applied to channel slot 0:
//   bytes 4..6 gauge type, 9..11 x, 13..15 y, 18..19 frame, 22..25 value text, 29..36 label
void ApplyScreenRecordMessage(ChannelStore& store, const ChannelContext& context,
                              const N2KMessage& message);

// Longest payload a gateway text sentence is decoded into.
inline constexpr std::size_t kN2KLongestTextPayload = 30;

// How a group's channels pick their messages and read their fields (see n2k_formatters.cpp).
enum class N2KInstance : std::uint8_t;
struct N2KField;
struct N2KFieldList {
    const N2KField* first = nullptr;
    std::size_t count = 0;
};

// A PGN as the gateway's text sentences carry it: the payload bytes decoded (0: sentences of
// this PGN are not decoded) and the PGN the message is decoded as.
struct N2KTextForm {
    std::uint8_t bytes = 0;
    std::uint32_t decodeAs = 0;
};

// One row of the route table, one row a PGN: how the text sentences and the adapter's binary
// frames carry it, the formatter group whose channels it feeds, and its formatter.
struct N2KRoute {
    std::uint32_t pgn = 0;
    N2KTextForm text;
    bool binary = false;  // decoded from binary frames
    // Formatter group (0: none): a channel takes the message when the high 4 bits of its first
    // source byte are this code and `instance` matches; its field code picks from `fields`.
    std::uint8_t group = 0;
    N2KInstance instance{};
    N2KFieldList fields;
    N2KFormatter formatter = nullptr;  // null: the message only sets the link time
};

// The row of `pgn`, or null when neither form decodes it.
const N2KRoute* FindN2KRoute(std::uint32_t pgn);
// The row of `pgn` when text sentences decode it (text.bytes > 0), or null.
const N2KRoute* FindTextRoute(std::uint32_t pgn);
// The row of `pgn` when binary frames decode it (`binary` set, with a formatter), or null.
const N2KRoute* FindBinaryRoute(std::uint32_t pgn);

}  // namespace pelor::decode
