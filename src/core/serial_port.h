#pragma once
// A serial port as the links and the flash programmer use it: opened by name with the line
// settings, asked how many bytes wait, read with a bounded wait, written, purged, and its
// modem lines driven. The libserialport implementation lives in links/; tests drive the other
// side of a pseudo-terminal.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace pelor::core {

// Line settings applied at open. Data bits 8, no parity, 1 stop bit, no flow control, binary;
// DTR and RTS are held low until the caller raises RTS.
struct SerialSettings {
    int baudRate = 38400;
};

// Bounded waits, in the terms the unit's firmware is timed with: a read ends when the total
// (perByte x count + constant) has passed, or when the line stays quiet for `readIntervalMs`
// after the first byte; a write gives up after its own total.
struct SerialTimeouts {
    int readIntervalMs = 100;
    int readPerByteMs = 40;
    int readConstantMs = 10;
    int writePerByteMs = 10;
    int writeConstantMs = 1000;
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens `name` (a device path) for exclusive reading and writing. False on failure;
    // LastError() then holds the operating system's error number.
    virtual bool Open(const std::string& name) = 0;
    // Applies the line settings, keeping every other setting the device reports.
    virtual bool Configure(const SerialSettings& settings) = 0;
    virtual bool SetTimeouts(const SerialTimeouts& timeouts) = 0;
    virtual bool SetRts(bool on) = 0;
    virtual bool SetBreak(bool on) = 0;
    virtual bool SetBaudRate(int baudRate) = 0;
    // The baud rate the device is set to now, or -1.
    virtual int BaudRate() = 0;
    // Bytes waiting in the receive buffer, or -1 when the device fails.
    virtual int BytesWaiting() = 0;
    // Reads up to buffer.size() bytes within the read time-outs. Returns the count read (0 when
    // nothing came), or -1 when the device fails.
    virtual int Read(std::span<std::uint8_t> buffer) = 0;
    // Writes all bytes within the write time-out. Returns the count written, or -1 on failure
    // (LastError() then holds the error number).
    virtual int Write(std::span<const std::uint8_t> bytes) = 0;
    // Discards what waits in the transmit and receive buffers.
    virtual bool Purge() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual int LastError() const = 0;
};

}  // namespace pelor::core
