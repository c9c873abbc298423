#include "unit/debugger_line.h"

#include <algorithm>
#include <array>

#include "links/serial_link.h"

namespace pelor::unit {

namespace {

constexpr std::size_t kDrainPiece = 6;
constexpr unsigned long kUsbDebuggerTimeoutMs = 1000;
constexpr unsigned long kUsbLinkTimeoutMs = 2000;

class SerialDebuggerLine : public DebuggerLine {
public:
    SerialDebuggerLine(core::SerialPort& port, int linkBaud) : port_(port), linkBaud_(linkBaud) {}
    bool SetSpeed(int baudRate) override { return port_.SetBaudRate(baudRate); }
    bool SetTimeouts(const core::SerialTimeouts& t) override { return port_.SetTimeouts(t); }
    void Drain() override {
        std::array<std::uint8_t, kDrainPiece> piece{};
        // Writes complete before they return; what waits is read in pieces and dropped.
        for (int guard = 0; guard < 4096 && port_.BytesWaiting() > 0; ++guard)
            if (port_.Read(piece) <= 0) break;
    }
    bool SetBreak(bool on) override { return port_.SetBreak(on); }
    int Exchange(std::span<const std::uint8_t> out, std::span<std::uint8_t> in) override {
        port_.Purge();
        if (port_.Write(out) != static_cast<int>(out.size())) return -1;
        // One read: it ends when all came, the total time-out passed or the line went quiet.
        return in.empty() ? 0 : port_.Read(in);
    }
    bool Restore() override {
        const bool speed = port_.SetBaudRate(linkBaud_);
        const bool timeouts = port_.SetTimeouts(links::kSerialTimeouts);
        return speed && timeouts;
    }

private:
    core::SerialPort& port_;
    int linkBaud_;
};

class UsbDebuggerLine : public DebuggerLine {
public:
    UsbDebuggerLine(core::UsbDevice& device, int linkBaud) : device_(device), linkBaud_(linkBaud) {}
    bool SetSpeed(int baudRate) override {
        return core::StatusOk(device_.SetBaudRate(static_cast<unsigned long>(baudRate)));
    }
    // The converter has one read and one write time-out: 1,000 ms while the debugger is used.
    bool SetTimeouts(const core::SerialTimeouts&) override {
        return core::StatusOk(device_.SetTimeouts(kUsbDebuggerTimeoutMs, kUsbDebuggerTimeoutMs));
    }
    void Drain() override {
        std::array<std::uint8_t, kDrainPiece> piece{};
        for (int guard = 0; guard < 4096; ++guard) {
            std::uint32_t queued = 0;
            if (!core::StatusOk(device_.GetQueueStatus(queued)) || queued == 0) return;
            std::uint32_t got = 0;
            const auto size =
                static_cast<std::uint32_t>(std::min<std::size_t>(queued, kDrainPiece));
            if (!core::StatusOk(device_.Read(piece.data(), size, got)) || got == 0) return;
        }
    }
    // The converter's library entry points the link loads have no break; the debugger's
    // receiver is synchronised by the automatic baud-rate character that follows.
    bool SetBreak(bool) override { return true; }
    int Exchange(std::span<const std::uint8_t> out, std::span<std::uint8_t> in) override {
        device_.Purge(core::kFtPurgeRx | core::kFtPurgeTx);
        std::uint32_t written = 0;
        if (!core::StatusOk(
                device_.Write(out.data(), static_cast<std::uint32_t>(out.size()), written)) ||
            written != out.size())
            return -1;
        std::uint32_t got = 0;
        if (!core::StatusOk(device_.Read(in.data(), static_cast<std::uint32_t>(in.size()), got)))
            return -1;
        return static_cast<int>(got);
    }
    bool Restore() override {
        const bool speed =
            core::StatusOk(device_.SetBaudRate(static_cast<unsigned long>(linkBaud_)));
        const bool timeouts =
            core::StatusOk(device_.SetTimeouts(kUsbLinkTimeoutMs, kUsbLinkTimeoutMs));
        return speed && timeouts;
    }

private:
    core::UsbDevice& device_;
    int linkBaud_;
};

}  // namespace

std::unique_ptr<DebuggerLine> MakeSerialDebuggerLine(core::SerialPort& port, int linkBaud) {
    return std::make_unique<SerialDebuggerLine>(port, linkBaud);
}

std::unique_ptr<DebuggerLine> MakeUsbDebuggerLine(core::UsbDevice& device, int linkBaud) {
    return std::make_unique<UsbDebuggerLine>(device, linkBaud);
}

}  // namespace pelor::unit
