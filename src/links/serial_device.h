#pragma once
// The SerialPort the links open: libserialport for the devices it knows (built-in ports, USB
// converters), plain termios for the rest (pseudo-terminals). Port names may be device paths
// or "COM" numbers.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/serial_port.h"

namespace pelor::links {

class SerialDevice : public core::SerialPort {
public:
    bool Open(const std::string& name) override;
    bool Configure(const core::SerialSettings& settings) override;
    bool SetTimeouts(const core::SerialTimeouts& timeouts) override;
    bool SetRts(bool on) override;
    bool SetBreak(bool on) override;
    bool SetBaudRate(int baudRate) override;
    int BaudRate() override;
    int BytesWaiting() override;
    int Read(std::span<std::uint8_t> buffer) override;
    int Write(std::span<const std::uint8_t> bytes) override;
    bool Purge() override;
    void Close() override;
    bool IsOpen() const override { return impl_ != nullptr && impl_->IsOpen(); }
    int LastError() const override { return impl_ != nullptr ? impl_->LastError() : lastError_; }

private:
    std::unique_ptr<core::SerialPort> impl_;
    int lastError_ = 0;
};

std::unique_ptr<core::SerialPort> MakeSerialDevice();

// The serial devices present, by path, sorted (libserialport's enumeration).
std::vector<std::string> ListSerialPorts();

// The "COM" number in "\\.\COM3", "COM3" or "com3" (3), or nothing when `name` is not of that
// form (a device path, for example). Numbers above 255 are not port numbers.
std::optional<int> ComPortNumber(std::string_view name);

// The device a "COM" number names. The numbers come in fixed blocks, one per kind of device
// node, so that a number always opens the same device whatever else is plugged in:
//   COM1..COM32   /dev/ttyS0..ttyS31     built-in and expansion-card ports
//   COM33..COM64  /dev/ttyUSB0..ttyUSB31 USB serial converters (FTDI, CP210x, PL2303, ...)
//   COM65..COM96  /dev/ttyACM0..ttyACM31 USB modem-class devices
// Nothing for numbers outside these blocks.
std::optional<std::string> ComPortDevice(int number);

// The inverse: the "COM" number of a device path of one of the blocks, or nothing.
std::optional<int> ComPortNumberOfDevice(std::string_view path);

// The device path for a port name: an absolute path is kept; "COM n" is ComPortDevice(n).
// Nothing for any other name (empty, relative, "COM0") or a number no block holds.
std::optional<std::string> ResolvePortName(std::string_view name);

}  // namespace pelor::links
