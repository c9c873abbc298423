#pragma once
// NMEA 2000 messages carried as text by the network gateway:
//   $PKZLN,pppppp,tttttttt,ss,<payload, 2 hex digits a byte>*hh
//   PGN (6 hex digits), time stamp in ms (8 hex digits), source (unused), XOR checksum of
//   everything between '$' and '*'. Payload and checksum digits are upper case; any other
//   character reads as 0.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "decode/channel_context.h"
#include "decode/channel_store.h"

namespace pelor::decode {

// Position of the '*' of the sentence starting at `start`, or 0 when the sentence is not
// complete yet (no '*' followed by two characters) or its checksum fails.
std::size_t CheckN2KSentence(std::string_view text, std::size_t start);

// Decodes every complete "$PKZLN," sentence of `text` and keeps in store.ReceiveText only a
// sentence that is incomplete or fails its checksum (with everything after it). With a time
// stamp decoded, the caption becomes the link time. `text` may be a view of
// store.ReceiveText. Call with store.mutex held.
void DecodeEncapsulatedN2K(ChannelStore& store, const ChannelContext& context,
                           std::string_view text);

// "hh:mm:ss" split of a link time in ms, hours not wrapped.
struct LinkClock {
    int hours, minutes, seconds;
};
LinkClock SplitLinkTime(std::int64_t ms);

}  // namespace pelor::decode
