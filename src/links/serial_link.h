#pragma once
// The serial link: one port, configured the way the unit expects, with either the text reader
// (connection type 0) or the NMEA 2000 adapter reader (type 3), and the command write that
// reads the unit's 16-character reply.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/prompt.h"
#include "core/reader_thread.h"
#include "core/serial_port.h"
#include "links/reader_pass.h"

namespace pelor::links {

// The serial connection types: the reader kinds OpenSerialPort starts.
inline constexpr int kTextReader = 0;
inline constexpr int kAdapterReader = 3;
inline constexpr std::size_t kSerialReadBuffer = 4000;
inline constexpr std::size_t kAdapterReadBuffer = 1584;

// The port time-outs: 100 ms between characters, 40 ms a byte + 10 ms for a whole read,
// 10 ms a byte + 1000 ms for a write.
inline constexpr core::SerialTimeouts kSerialTimeouts{100, 40, 10, 10, 1000};

// 16 characters and a terminating NUL.
using UnitReplyText = std::array<char, 17>;

class SerialLink {
public:
    using PortFactory = std::function<std::unique_ptr<core::SerialPort>()>;

    SerialLink(core::Prompt& prompt, ReaderSinks& sinks, PortFactory makePort);
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens `portName` ("\\.\COM3", "COM3" or a device path) at `baudRate`; reader kind 0
    // starts the text reader and 3 the adapter reader on `readerSlot`, any other kind none.
    // Each failure shows its message (caption "Error") and returns false; a port that was
    // opened stays open, as the caller's close expects.
    bool OpenSerialPort(std::string_view portName, int readerKind, int baudRate,
                        int serialBufferSize, core::ReaderThread* readerSlot);
    // Ends the reader (joined) and closes the port. True when a port was open.
    bool CloseSerialPort();
    bool PortValid() const { return valid_.load(); }

    // Writes `bytes`. With `expectReply` pending input is discarded first and the next 16 bytes
    // the unit sends (within the read time-outs) land in UnitReply; without, received bytes
    // stay for the reader. Returns 0, the error number of a failed write, or 1 when the reply
    // read failed.
    int SerialWrite(std::span<const std::uint8_t> bytes, bool expectReply);
    const UnitReplyText& UnitReply() const { return unitReply_; }

    // The open port, for the flash programmer's own exchanges; null when closed.
    core::SerialPort* Port() { return valid_.load() ? port_.get() : nullptr; }

private:
    core::Prompt& prompt_;
    ReaderSinks& sinks_;
    PortFactory makePort_;
    std::unique_ptr<core::SerialPort> port_;
    std::atomic<bool> valid_{false};
    core::ReaderThread* reader_ = nullptr;
    UnitReplyText unitReply_{};
};

}  // namespace pelor::links
