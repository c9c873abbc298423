#include "links/serial_link.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "links/serial_device.h"

namespace pelor::links {

namespace {

// The open port as the reader reads it.
class PortSource final : public ByteSource {
public:
    PortSource(core::SerialPort& port, const std::atomic<bool>& valid)
        : port_(port), valid_(valid) {}
    bool Open() const override { return valid_.load(); }
    std::optional<bool> WholeReadWaiting(std::size_t size, bool) override {
        const int waiting = port_.BytesWaiting();
        if (waiting < 0) return std::nullopt;
        return static_cast<std::size_t>(waiting) >= size;
    }
    int Read(std::span<std::uint8_t> buffer) override {
        const int got = port_.Read(buffer);
        if (got < 0) return -1;
        // Five bytes or fewer hold no sentence: they are dropped and the pass ends.
        return got <= 5 ? 0 : got;
    }
    void Purge() override { port_.Purge(); }
    bool FillsInSteps() const override { return true; }

private:
    core::SerialPort& port_;
    const std::atomic<bool>& valid_;
};

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
    const ConnectionKind* kind = FindConnectionKind(readerKind);
    if (kind == nullptr || kind->transport != Transport::Serial) return true;
    // The text reader's buffer holds 4000 bytes, the adapter's 1584; a larger setting reads a
    // full buffer.
    const std::size_t size =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(serialBufferSize, 0)),
                              kind->n2k ? kAdapterReadBuffer : kSerialReadBuffer);
    const bool started = readerSlot != nullptr &&
                         readerSlot->Start([this, kind, size](const std::stop_token& token) {
                             LowerThreadPriority();
                             PortSource source(*port_, valid_);
                             RunReaderLoop(source, sinks_, *kind, size, token);
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
