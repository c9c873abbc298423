#include "links/serial_link.h"

#include <cerrno>
#include <vector>

#include "links/serial_device.h"

namespace pelor::links {

namespace {

// One pass's reads: `size` bytes at a time while a whole read waits (the first read without
// waiting for more, later ones for at most one pass interval), each handed to `hand`. False
// when the device failed: the reader then ends.
template <typename Hand>
bool DrainPort(core::SerialPort& port, const std::atomic<bool>& valid, const std::stop_token& token,
               int passMs, std::size_t size, std::vector<std::uint8_t>& buffer, Hand&& hand) {
    DrainWindow drain(passMs);
    for (bool first = true; valid && !token.stop_requested(); first = false) {
        const int waiting = port.BytesWaiting();
        if (waiting < 0) return false;
        if (size == 0 || static_cast<std::size_t>(waiting) < size) {
            if (!first && drain.PauseForMore()) continue;
            break;
        }
        if (!first && !drain.Open()) break;
        drain.TookRead();
        const int got = port.Read(std::span(buffer.data(), size));
        if (got < 0) return false;
        if (got <= 5) break;
        hand(std::string_view(reinterpret_cast<const char*>(buffer.data()),
                              static_cast<std::size_t>(got)));
    }
    return true;
}

}  // namespace

SerialLink::SerialLink(core::Prompt& prompt, ReaderSinks& sinks, PortFactory makePort)
    : prompt_(prompt), sinks_(sinks), makePort_(std::move(makePort)) {
    if (!makePort_) makePort_ = MakeSerialDevice;
}

SerialLink::~SerialLink() {
    CloseSerialPort();
}

bool SerialLink::OpenSerialPort(std::string_view portName, int readerKind, int baudRate,
                                int serialBufferSize, core::ReaderThread* readerSlot) {
    if (port_ != nullptr) CloseSerialPort();
    port_ = makePort_();
    const auto path = ResolvePortName(portName);
    if (!path || !port_->Open(*path)) {
        prompt_.Message("Unable to open the port", "Error");
        return false;
    }
    valid_ = true;
    if (!port_->Configure(core::SerialSettings{baudRate})) {
        prompt_.Message("Unable to configure the serial port", "Error");
        return false;
    }
    if (!port_->SetTimeouts(kSerialTimeouts)) {
        prompt_.Message("Unable to set the time-out parameters", "Error");
        return false;
    }
    port_->SetRts(true);
    if (readerKind != kTextReader && readerKind != kAdapterReader) return true;
    const bool started =
        readerSlot != nullptr &&
        readerSlot->Start([this, readerKind, serialBufferSize](const std::stop_token& token) {
            LowerThreadPriority();
            if (readerKind == kTextReader)
                RunTextReader(token, serialBufferSize);
            else
                RunAdapterReader(token, serialBufferSize);
        });
    if (!started) {
        prompt_.Message("Unable to create the read thread", "Error");
        return false;
    }
    reader_ = readerSlot;
    return true;
}

bool SerialLink::CloseSerialPort() {
    if (reader_ != nullptr) {
        reader_->Stop();
        reader_ = nullptr;
    }
    const bool wasOpen = valid_.exchange(false);
    if (port_ != nullptr) port_->Close();
    port_.reset();
    return wasOpen;
}

// Text reader: every 200 ms, once at least `bufferSize` bytes wait, reads exactly that many
// and hands them to the reader pass, again while another whole read waits (at most one pass
// interval). A failing device ends the reader; the link stays "connected" until the user
// disconnects.
void SerialLink::RunTextReader(const std::stop_token& token, int bufferSize) {
    // A reader that starts while the flash programmer holds the port waits for it (below)
    // rather than ending: the link would otherwise stay connected with no reader.
    if (!valid_) {
        sinks_.view.RequestRepaint();
        return;
    }
    const std::size_t size =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(bufferSize, 0)), kSerialReadBuffer);
    std::vector<std::uint8_t> buffer(kSerialReadBuffer);
    while (valid_ && SleepUnlessStopped(token, kSerialPassMs)) {
        // While the flash programmer holds the port its answers are not the reader's.
        const core::LinkPass linkPass(sinks_.linkHold);
        if (!linkPass) continue;
        if (TakePurgeRequest(sinks_.store)) {
            port_->Purge();
            if (sinks_.resetPositions) sinks_.resetPositions();
        }
        const bool alive = DrainPort(*port_, valid_, token, kSerialPassMs, size, buffer,
                                     [this](std::string_view bytes) {
                                         if (sinks_.textPass)
                                             sinks_.textPass(TextLink::Serial, bytes);
                                     });
        if (!alive) return;
    }
}

// Adapter reader: as the text reader (draining what waits), every 500 ms, with the frame
// pass. Each read is decoded on its own; it does not act on purge requests.
void SerialLink::RunAdapterReader(const std::stop_token& token, int bufferSize) {
    // A reader that starts while the flash programmer holds the port waits for it (below)
    // rather than ending: the link would otherwise stay connected with no reader.
    if (!valid_) {
        sinks_.view.RequestRepaint();
        return;
    }
    // The read buffer holds 1584 bytes; a larger setting reads a full buffer.
    const std::size_t size = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(bufferSize, 0)), kAdapterReadBuffer);
    std::vector<std::uint8_t> buffer(kAdapterReadBuffer);
    while (valid_ && SleepUnlessStopped(token, kAdapterPassMs)) {
        // While the flash programmer holds the port its answers are not the reader's.
        const core::LinkPass linkPass(sinks_.linkHold);
        if (!linkPass) continue;
        const bool alive = DrainPort(*port_, valid_, token, kAdapterPassMs, size, buffer,
                                     [this](std::string_view bytes) {
                                         if (sinks_.framePass)
                                             sinks_.framePass(FrameLink::Adapter, bytes);
                                         FinishPass(sinks_.store, sinks_.view);
                                     });
        if (!alive) return;
    }
}

int SerialLink::SerialWrite(std::span<const std::uint8_t> bytes, bool expectReply) {
    if (!valid_ || port_ == nullptr) return EBADF;
    // Only a write that waits for a reply clears what waits in the device first, so that the
    // reply cannot be stale (the flash programmer holds the link then, and the reader takes
    // nothing). A plain command leaves received bytes to the reader: they are the unit's data.
    if (expectReply) {
        port_->Purge();
        unitReply_.fill('\0');
    }
    const int sent = port_->Write(bytes);
    if (sent < 0 || static_cast<std::size_t>(sent) != bytes.size()) {
        const int code = port_->LastError();
        return code != 0 ? code : EIO;
    }
    if (expectReply) {
        std::array<std::uint8_t, 16> reply{};
        const int got = port_->Read(reply);
        if (got < 0) return 1;
        for (int i = 0; i < got; ++i)
            unitReply_[static_cast<std::size_t>(i)] =
                static_cast<char>(reply[static_cast<std::size_t>(i)]);
        unitReply_[16] = '\0';
    }
    return 0;
}

}  // namespace pelor::links
