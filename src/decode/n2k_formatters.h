#pragma once
// Per-PGN formatters: each finds the channels whose NMEA 2000 source (options bytes 256 + 2c:
// group code << 4 | instance, then the field code) names the message, turns the field into
// a value text "dddd##LL" (4 display characters, raw level as 2 upper-case hex digits) and
// applies it with UpdateChannel.
#include <cstdint>

#include "decode/channel_context.h"
#include "decode/channel_store.h"
#include "decode/n2k_message.h"

namespace pelor::decode {

using N2KFormatter = void (*)(ChannelStore&, const ChannelContext&, const N2KMessage&);

// Channel walk for the grouped PGNs (127245, 127250, 127251, 127257, 127488, 127489, 127493,
// 127501, 127505, 127508, 129026, 130306, 130311, 130312, 130323); other PGNs do nothing.
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

// Dispatch tables. The text form decodes a fixed number of payload bytes per PGN; a null
// formatter means the message only sets the link time.
struct N2KTextRoute {
    std::uint32_t pgn;
    std::uint32_t decodeAs;
    std::uint8_t bytes;
    N2KFormatter formatter;
};
const N2KTextRoute* FindTextRoute(std::uint32_t pgn);
N2KFormatter FindBinaryFormatter(std::uint32_t pgn);

}  // namespace pelor::decode
