#pragma once
// The USB link: an FTDI converter through its vendor library, carrying text (type 2) or
// binary NMEA 2000 frames (type 5), with its reader and the command write.
#include <atomic>
#include <functional>
#include <memory>
#include <span>

#include "core/prompt.h"
#include "core/reader_thread.h"
#include "core/usb_device.h"
#include "links/reader_pass.h"
#include "links/serial_link.h"

namespace pelor::links {

inline constexpr int kUsbReplyWaitMs = 3000;

// The read size for a USBBufferSize setting: 790 for 800 or more.
int UsbReadSize(int usbBufferSize);

class UsbLink {
public:
    // Makes the device for each open: the library loaded (its own messages shown).
    using DeviceFactory = std::function<std::unique_ptr<core::UsbDevice>()>;

    UsbLink(core::Prompt& prompt, ReaderSinks& sinks, DeviceFactory makeDevice);
    ~UsbLink();
    UsbLink(const UsbLink&) = delete;
    UsbLink& operator=(const UsbLink&) = delete;

    // Opens device `deviceNumber` at `baudRate` for connection type 2 or 5 and starts the
    // reader on `readerSlot`. 0 on success, -1 after the failure's message.
    int OpenUsbLink(int connectionType, int deviceNumber, int baudRate, int usbBufferSize,
                    core::ReaderThread* readerSlot);
    // Ends the reader (joined) and closes the device.
    void CloseUsbLink();
    bool Running() const { return running_.load(); }

    // The command write: with `expectReply` the receive buffer is purged first and the 16
    // bytes of the reply are awaited for at most 3 seconds. Returns 0 or the failing status.
    core::FtStatus UsbWrite(std::span<const std::uint8_t> bytes, bool expectReply);
    const UnitReplyText& UnitReply() const { return unitReply_; }
    // The open device, for the flash programmer's own exchanges; null when closed.
    core::UsbDevice* Device() { return device_.get(); }

private:
    void RunReader(const std::stop_token& token, const ConnectionKind& kind, int usbBufferSize);
    int Fail(const char* message);

    core::Prompt& prompt_;
    ReaderSinks& sinks_;
    DeviceFactory makeDevice_;
    std::unique_ptr<core::UsbDevice> device_;
    std::atomic<bool> running_{false};
    core::ReaderThread* reader_ = nullptr;
    UnitReplyText unitReply_{};
};

}  // namespace pelor::links
