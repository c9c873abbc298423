#pragma once
// What a link's reader hands its bytes to, and the end of every pass (caption and repaint).
// The readers know nothing of decoding: the owner plugs the decoders in here.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stop_token>
#include <string_view>
#include <thread>

#include "core/link_hold.h"
#include "core/view.h"
#include "decode/channel_store.h"
#include "links/connection_kind.h"

namespace pelor::links {

// The text links differ in how the pass treats their characters: the reader pass's own kinds.
using TextLink = decode::LinkKind;

struct ReaderSinks {
    decode::ChannelStore& store;
    core::View& view;
    // The shared reader pass over received text: append, unit sentences, decoders, capture,
    // and at its end the caption and the repaint.
    std::function<void(TextLink, std::string_view)> textPass;
    // The binary NMEA 2000 frame pass: decode, caption texts when messages were found,
    // capture. The reader sets the caption and asks for the repaint after it.
    std::function<void(FrameLink, std::string_view)> framePass;
    // Clears the live positions after a purge request (may be empty).
    std::function<void()> resetPositions;
    // Held while flash programming has the link; readers skip their passes then (may be null).
    core::LinkHold* linkHold = nullptr;
};

// Ends a frame pass that read something: clears the redraw-all flag, sets the caption to the title
// prefix followed by the link status, and asks for a repaint.
void FinishPass(decode::ChannelStore& store, core::View& view);

// Takes a pending purge request: true (and the flag cleared) when one was set.
bool TakePurgeRequest(decode::ChannelStore& store);

// Sleeps `ms` milliseconds unless a stop is requested first; false when stopping.
bool SleepUnlessStopped(const std::stop_token& token, int ms);

// How long a pass may go on reading: a reader drains its device, read after read of its
// buffer size, while a whole read's worth waits, so that a source faster than one read a
// pass never builds a queue; the drain ends at the latest one pass interval after it began,
// which keeps the pass interval for a source faster than the decoders.
class DrainWindow {
public:
    explicit DrainWindow(int passMs)
        : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(passMs)) {}
    bool Open() const { return std::chrono::steady_clock::now() < end_; }
    // After a read of this pass, less than a whole read waiting may only mean that the driver
    // has not yet moved what it holds into its read queue (a terminal's line buffer holds
    // 4 KB and is refilled in steps): true, after a short pause, once per read, while the
    // window is open.
    bool PauseForMore() {
        if (paused_ || !Open()) return false;
        paused_ = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPauseMs));
        return true;
    }
    void TookRead() { paused_ = false; }

private:
    static constexpr int kPauseMs = 3;
    std::chrono::steady_clock::time_point end_;
    bool paused_ = false;
};

// Best effort: runs the calling thread at idle priority.
void LowerThreadPriority();

// What a reader reads from: the open port, USB device or socket. The reader loop drives it and
// knows nothing else of the transport; the decoders never see it.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Whether the link is still open: the reader runs while it is.
    virtual bool Open() const = 0;
    // Whether the `size` bytes of a whole read can be taken now. `first` is the pass's first
    // read. nullopt when the device failed: the reader ends.
    virtual std::optional<bool> WholeReadWaiting(std::size_t size, bool first) = 0;
    // Reads into `buffer` (its size is the read size). The bytes to hand on; 0 when the read
    // brought nothing worth a pass (the pass ends); -1 when the device failed (the reader ends).
    virtual int Read(std::span<std::uint8_t> buffer) = 0;
    // Clears what waits in the device on a purge request.
    virtual void Purge() = 0;
    // Whether, right after a read, less than a whole read waiting may only mean that the
    // driver has not yet moved what it holds into its read queue (worth a short pause).
    virtual bool FillsInSteps() const = 0;
};

// The reader of every link: every pass interval of `kind`, unless flash programming holds the
// link, takes a purge request (when the kind does), then drains the source read after read of
// `readSize` bytes while a whole read waits, for at most one pass interval, handing each read to
// the text pass or, for NMEA 2000 kinds, to the frame pass and the end of the pass. Returns
// when stopped, when the source closes or when its device fails; the link stays "connected"
// until the user disconnects.
void RunReaderLoop(ByteSource& source, ReaderSinks& sinks, const ConnectionKind& kind,
                   std::size_t readSize, const std::stop_token& token);

}  // namespace pelor::links
