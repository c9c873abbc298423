#pragma once
// The single-wire line to a controller's on-chip debugger, as the flash programmer drives it:
// a speed and time-outs of its own while the debugger is used, a break to reset the
// debugger's receiver, and transfers in which every byte written comes back as an echo
// before the debugger's answer. Implemented over the serial port and over the USB converter.
#include <cstdint>
#include <memory>
#include <span>

#include "core/serial_port.h"
#include "core/usb_device.h"

namespace pelor::unit {

class DebuggerLine {
public:
    virtual ~DebuggerLine() = default;
    virtual bool SetSpeed(int baudRate) = 0;
    virtual bool SetTimeouts(const core::SerialTimeouts& timeouts) = 0;
    // Waits until everything written has gone out, then reads and drops what waits.
    virtual void Drain() = 0;
    virtual bool SetBreak(bool on) = 0;
    // Clears line errors, purges both queues, writes `out` and reads exactly `in.size()`
    // bytes back (echo included). False when the write or read fails or fewer bytes come.
    bool Transfer(std::span<const std::uint8_t> out, std::span<std::uint8_t> in) {
        return Exchange(out, in) == static_cast<int>(in.size());
    }
    // As Transfer, but gives the count read back (up to `in.size()`), or -1 when the write or
    // the read fails.
    virtual int Exchange(std::span<const std::uint8_t> out, std::span<std::uint8_t> in) = 0;
    // Gives the line back its link's own speed and time-outs.
    virtual bool Restore() = 0;
};

// The serial port of a type 0 link, whose own speed is `linkBaud` with the link's time-outs.
std::unique_ptr<DebuggerLine> MakeSerialDebuggerLine(core::SerialPort& port, int linkBaud);
// The USB converter of a type 2 link (1,000 ms time-outs while the debugger is used), whose own
// speed is `linkBaud` with the link's 2,000 ms time-outs.
std::unique_ptr<DebuggerLine> MakeUsbDebuggerLine(core::UsbDevice& device, int linkBaud);

}  // namespace pelor::unit
