#include "decode/n2k_binary.h"

#include "core/format.h"
#include "decode/n2k_formatters.h"
#include "decode/n2k_message.h"
#include "decode/n2k_text.h"

namespace pelor::decode {
namespace {

constexpr std::uint8_t kDle = 0x10;
constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kMessageReceived = 0x93;
constexpr std::size_t kHeader = 15;  // bytes before the payload

std::size_t Unstuff(std::uint8_t* bytes, std::size_t count) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < count; ++i) {
        bytes[out++] = bytes[i];
        if (bytes[i] == kDle && i + 1 < count && bytes[i + 1] == kDle) ++i;
    }
    return out;
}

// Finds and decodes the frames in the unstuffed bytes[0..size). With `last` set the bytes are
// all there is: a frame that runs past the end is handled as the end of a read handles it. Without
// it the scan stops at the first position that more bytes could still change and returns it
// (everything before it is settled); with it, returns size.
std::size_t ScanFrames(ChannelStore& store, const ChannelContext& context,
                       const std::uint8_t* bytes, std::size_t size, bool last, N2KBatch& batch) {
    if (size == 0) return 0;
    const std::size_t m = size - 1;
    for (std::size_t i = 0;; ++i) {
        if (i >= m) return last ? size : i;
        if (bytes[i] != kDle || bytes[i + 1] != kStx) continue;
        if (i + 2 >= size) {
            if (last) continue;
            return i;
        }
        if (bytes[i + 2] != kMessageReceived) continue;
        if (i + 14 >= m) {
            if (last) continue;
            return i;
        }
        const std::uint8_t* frame = bytes + i;
        const std::size_t length = frame[3];
        const std::size_t n = frame[14];
        const std::size_t available = size - (i + kHeader);
        if (!last && (n > available || i + length >= m)) return i;
        const auto pgn = static_cast<std::uint32_t>(frame[5] | (frame[6] << 8) | (frame[7] << 16));
        const std::uint32_t time = static_cast<std::uint32_t>(frame[10]) |
                                   (static_cast<std::uint32_t>(frame[11]) << 8) |
                                   (static_cast<std::uint32_t>(frame[12]) << 16) |
                                   (static_cast<std::uint32_t>(frame[13]) << 24);
        // The payload holds what the buffer has of the n bytes; the rest reads as 0.
        const N2KMessage message{
            pgn, std::span<const std::uint8_t>(frame + kHeader, n < available ? n : available)};
        i += length;
        if (i >= m) return size;
        if (const N2KRoute* route = FindBinaryRoute(pgn)) {
            if (context.messageDecoded) context.messageDecoded(pgn, time);
            route->formatter(store, context, message);
            ++batch.N2KPackets;
        }
        batch.N2KLinkTime = time;
    }
}

}  // namespace

N2KBatch DecodeN2KBinary(ChannelStore& store, const ChannelContext& context, std::uint8_t* bytes,
                         std::size_t count) {
    N2KBatch batch;
    if (bytes == nullptr || count == 0) return batch;
    const std::size_t size = Unstuff(bytes, count);
    ScanFrames(store, context, bytes, size, true, batch);
    return batch;
}

void N2KBinaryStream::Feed(ChannelStore& store, const ChannelContext& context,
                           std::span<const std::uint8_t> bytes, N2KBatch& batch) {
    // The same pairing as Unstuff: a DLE is kept and the DLE right after it dropped, even when
    // the pair is cut between two pieces.
    for (const std::uint8_t b : bytes) {
        if (skipDle_) {
            skipDle_ = false;
            if (b == kDle) continue;
        }
        pending_.push_back(b);
        if (b == kDle) skipDle_ = true;
    }
    const std::size_t settled =
        ScanFrames(store, context, pending_.data(), pending_.size(), false, batch);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(settled));
}

void N2KBinaryStream::Finish(ChannelStore& store, const ChannelContext& context, N2KBatch& batch) {
    ScanFrames(store, context, pending_.data(), pending_.size(), true, batch);
    pending_.clear();
    skipDle_ = false;
}

void ApplyN2KBatchStatus(ChannelStore& store, const N2KBatch& batch) {
    if (batch.N2KPackets == 0) return;
    const LinkClock t = SplitLinkTime(batch.N2KLinkTime);
    store.m_strTitlePrefix = "recieving.. ";
    store.m_strLinkStatus.clear();
    core::AppendFormat(store.m_strLinkStatus,
                       "NMEA 2000: Link Time %02d:%02d:%02d; N2K Packets %d  %s", t.hours,
                       t.minutes, t.seconds, batch.N2KPackets, store.SystemTimeText.c_str());
}

}  // namespace pelor::decode
