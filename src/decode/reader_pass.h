#pragma once
// The pass that every text link runs after a successful read: append the new characters to
// ReceiveText, show the unit's status sentences, decode transducer sentences, NMEA 2000 text
// sentences and screen records, give the capture code its tick, then set the caption and ask
// for a repaint.
#include <cstddef>
#include <string_view>

#include "decode/channel_context.h"
#include "decode/channel_store.h"

namespace pelor::decode {

enum class LinkKind {
    Serial,  // control characters but CR become '*'; screen record marker "m"
    Tcp,     // cut at the first NUL; decoders wait for 48 characters after a sentence start
    Usb,     // cut at the first NUL
};

// ReceiveText never holds more than this: a read that would pass it is taken in slices, each
// decoded before the next, and text that fills it without anything the decoders can take is
// emptied.
inline constexpr std::size_t kReceiveTextLimit = 4000;

// Runs one pass over the characters of one read. Takes store.mutex for all updates and
// releases it before the caption and repaint calls to the view.
void ReaderPass(ChannelStore& store, const ChannelContext& context, std::string_view received,
                LinkKind link);

// Runs the unit's status sentence rows of the reader pass's dispatch table ("$PKZLS,V,", ",D,",
// ",H," and ",S,", in that order) over store.ReceiveText: each row applies the first such
// sentence once it has arrived whole. No "$PKZLS,V," at all sets the prefix to "recieving..".
// Call with store.mutex held.
void ApplyUnitSentences(ChannelStore& store, const ChannelContext& context);

}  // namespace pelor::decode
