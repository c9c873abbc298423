#pragma once
// NMEA 2000 messages from an adapter in binary frames, after byte stuffing is removed:
//   10 02 93 L prio pgn0 pgn1 pgn2 dst src ts0 ts1 ts2 ts3 n data[n] CK 10 03
//   L = 11 + n; PGN and time stamp (ms) little-endian; CK and the end bytes are not checked.
// On the wire every 0x10 between the start and the end is sent twice.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

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

// DecodeN2KBinary over bytes that arrive in pieces (a capture read from a file in chunks):
// feeding the bytes of one read in any number of pieces and then calling Finish decodes exactly
// the frames, in the same order and with the same payloads, as one DecodeN2KBinary call over all
// of them. Only the bytes of a frame not yet settled are kept between pieces (a few hundred), so
// memory does not grow with the size of the read. Call with store.mutex held.
class N2KBinaryStream {
public:
    // Adds the next piece (stuffed, as received) and decodes every frame it settles into `batch`.
    void Feed(ChannelStore& store, const ChannelContext& context,
              std::span<const std::uint8_t> bytes, N2KBatch& batch);
    // The end of the read: decodes what is left as the end of a read does and starts afresh.
    void Finish(ChannelStore& store, const ChannelContext& context, N2KBatch& batch);

private:
    std::vector<std::uint8_t> pending_;  // unstuffed bytes from the first unsettled position
    bool skipDle_ = false;               // the last byte fed was a DLE that keeps its pair
};

// After a batch with packets: caption prefix "recieving.. " and the link status
// "NMEA 2000: Link Time hh:mm:ss; N2K Packets n  <system time>". Nothing for an empty batch.
void ApplyN2KBatchStatus(ChannelStore& store, const N2KBatch& batch);

}  // namespace pelor::decode
