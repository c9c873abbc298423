#include "links/usb_link.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

namespace pelor::links {

using core::StatusOk;

namespace {

// The open device as the reader reads it. A failing device clears the running flag.
class DeviceSource final : public ByteSource {
public:
    DeviceSource(core::UsbDevice& device, std::atomic<bool>& running)
        : device_(device), running_(running) {}
    bool Open() const override { return running_.load(); }
    std::optional<bool> WholeReadWaiting(std::size_t size, bool) override {
        std::uint32_t queued = 0;
        if (!StatusOk(device_.GetQueueStatus(queued))) return Fail();
        return queued >= size;
    }
    int Read(std::span<std::uint8_t> buffer) override {
        std::uint32_t got = 0;
        // A read of 850 bytes or more cannot come from a whole read: the device is not sane.
        if (!StatusOk(
                device_.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), got)) ||
            got >= 850) {
            running_ = false;
            return -1;
        }
        return static_cast<int>(got);
    }
    void Purge() override { device_.Purge(core::kFtPurgeRx | core::kFtPurgeTx); }
    bool FillsInSteps() const override { return true; }

private:
    std::nullopt_t Fail() {
        running_ = false;
        return std::nullopt;
    }
    core::UsbDevice& device_;
    std::atomic<bool>& running_;
};

}  // namespace

int UsbReadSize(int usbBufferSize) {
    return usbBufferSize >= 800 ? 790 : usbBufferSize;
}

UsbLink::UsbLink(core::Prompt& prompt, ReaderSinks& sinks, DeviceFactory makeDevice)
    : prompt_(prompt), sinks_(sinks), makeDevice_(std::move(makeDevice)) {}

UsbLink::~UsbLink() {
    CloseUsbLink();
}

int UsbLink::Fail(const char* message) {
    prompt_.Message(message, "Error");
    // A device left open after a failed start would refuse the next open.
    if (device_ != nullptr) device_->Close();
    device_.reset();
    return -1;
}

int UsbLink::OpenUsbLink(int connectionType, int deviceNumber, int baudRate, int usbBufferSize,
                         core::ReaderThread* readerSlot) {
    CloseUsbLink();
    device_ = makeDevice_();
    if (device_ == nullptr) return Fail("Unable to Open USB Device");
    auto& d = *device_;
    if (!StatusOk(d.Open(deviceNumber))) {
        prompt_.Message("Unable to Open USB Device", "Error");
        device_.reset();
        return -1;
    }
    d.ResetDevice();
    if (!StatusOk(
            d.SetDataCharacteristics(core::kFtBits8, core::kFtStopBits1, core::kFtParityNone)))
        return Fail("Unable to set USB Data Characteristics");
    if (!StatusOk(d.SetBaudRate(static_cast<unsigned long>(baudRate))))
        return Fail("Unable to set USB Baud Rate");
    d.SetFlowControl(core::kFtFlowNone, 0, 0);
    d.SetRts();
    d.SetTimeouts(2000, 2000);
    d.Purge(core::kFtPurgeRx);
    std::uint32_t queued = 0;
    if (!StatusOk(d.GetQueueStatus(queued))) return Fail("Unable to get USB Que Status");
    // Drain what the converter held before: two reads, each waiting out the read time-out
    // on an idle device; only the first is checked.
    std::vector<std::uint8_t> drain(200);
    std::uint32_t got = 0;
    if (!StatusOk(d.Read(drain.data(), 200, got))) return Fail("Unable to Read from USB Device");
    d.Read(drain.data(), 200, got);
    d.SetTimeouts(2000, 2000);
    running_ = true;
    const ConnectionKind* kind = FindConnectionKind(connectionType);
    if (kind == nullptr || kind->transport != Transport::Usb) kind = FindConnectionKind(2);
    const bool started =
        readerSlot != nullptr &&
        readerSlot->Start([this, kind, usbBufferSize](const std::stop_token& token) {
            RunReader(token, *kind, usbBufferSize);
        });
    if (!started) {
        running_ = false;
        return Fail("Unable to create the read thread");
    }
    reader_ = readerSlot;
    return 0;
}

void UsbLink::CloseUsbLink() {
    running_ = false;
    if (reader_ != nullptr) {
        reader_->Stop();
        reader_ = nullptr;
    }
    if (device_ != nullptr) device_->Close();
    device_.reset();
}

// Every 500 ms: once the converter holds a whole block, read it and hand it to the text or
// frame pass, block after block while whole blocks are queued (at most one pass interval).
// A failing device ends the reader; the link stays up until the user disconnects.
void UsbLink::RunReader(const std::stop_token& token, const ConnectionKind& kind,
                        int usbBufferSize) {
    DeviceSource source(*device_, running_);
    RunReaderLoop(source, sinks_, kind,
                  static_cast<std::size_t>(std::max(UsbReadSize(usbBufferSize), 0)), token);
}

core::FtStatus UsbLink::UsbWrite(std::span<const std::uint8_t> bytes, bool expectReply) {
    if (device_ == nullptr) return 1;
    auto& d = *device_;
    if (expectReply) {
        d.Purge(core::kFtPurgeRx);
        unitReply_.fill('\0');
    }
    std::uint32_t written = 0;
    const core::FtStatus status =
        d.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), written);
    if (!StatusOk(status)) return status;
    if (!expectReply) return 0;
    // The reply wait is bounded: a unit that never answers leaves UnitReply empty.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kUsbReplyWaitMs);
    std::uint32_t queued = 0;
    while (true) {
        if (!StatusOk(d.GetQueueStatus(queued))) return 1;
        if (queued >= 16) break;
        if (std::chrono::steady_clock::now() >= deadline) return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::array<std::uint8_t, 16> reply{};
    std::uint32_t got = 0;
    const core::FtStatus readStatus = d.Read(reply.data(), 16, got);
    if (!StatusOk(readStatus)) return readStatus;
    for (std::uint32_t i = 0; i < got && i < 16; ++i) unitReply_[i] = static_cast<char>(reply[i]);
    return 0;
}

}  // namespace pelor::links
