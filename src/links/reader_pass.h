#pragma once
// What a link's reader hands its bytes to, and the end of every pass (caption and repaint).
// The readers know nothing of decoding: the owner plugs the decoders in here.
#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>
#include <string_view>

#include "core/view.h"
#include "decode/channel_store.h"

namespace pelor::links {

// The text links differ in how the pass treats their characters.
enum class TextLink { Serial, Tcp, Usb };
// The frame links differ in when they record.
enum class FrameLink { Adapter, Network, Usb };

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
    // True while flash programming holds the link; a reader started then does not run.
    std::function<bool()> linkHeldByFlash;
};

// Ends a frame pass that read something: clears the redraw-all flag, sets the caption to the title
// prefix followed by the link status, and asks for a repaint.
void FinishPass(decode::ChannelStore& store, core::View& view);

// Takes a pending purge request: true (and the flag cleared) when one was set.
bool TakePurgeRequest(decode::ChannelStore& store);

// Sleeps `ms` milliseconds unless a stop is requested first; false when stopping.
bool SleepUnlessStopped(const std::stop_token& token, int ms);

// Best effort: runs the calling thread at idle priority.
void LowerThreadPriority();

}  // namespace pelor::links
