#pragma once
// NMEA 2000 messages from an adapter in binary frames, after byte stuffing is removed:
//   10 02 93 L prio pgn0 pgn1 pgn2 dst src ts0 ts1 ts2 ts3 n data[n] CK 10 03
//   L = 11 + n; PGN and time stamp (ms) little-endian; CK and the end bytes are not checked.
// On the wire every 0x10 between the start and the end is sent twice.
#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/channel_context.h"
#include "decode/channel_store.h"

namespace pelor::decode {

struct N2KBatch {
    std::uint32_t N2KLinkTime = 0;  // time stamp of the last frame, known PGN or not
    int N2KPackets = 0;             // frames handed to a formatter
};

// Removes the stuffing in place (the first `count` bytes of `bytes` are rewritten), decodes
// every frame and hands the known PGNs to their formatters. Call with store.mutex held.
N2KBatch DecodeN2KBinary(ChannelStore& store, const ChannelContext& context, std::uint8_t* bytes,
                         std::size_t count);

// After a batch with packets: caption prefix "recieving.. " and the link status
// "NMEA 2000: Link Time hh:mm:ss; N2K Packets n  <system time>". Nothing for an empty batch.
void ApplyN2KBatchStatus(ChannelStore& store, const N2KBatch& batch);

}  // namespace pelor::decode
