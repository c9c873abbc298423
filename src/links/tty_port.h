#pragma once
// SerialPort on a plain terminal device (termios), for the devices libserialport does not
// describe: pseudo-terminals above all, which the simulator and the tests use.
#include <atomic>

#include "core/serial_port.h"

namespace pelor::links {

class TtyPort : public core::SerialPort {
public:
    TtyPort() = default;
    ~TtyPort() override;
    TtyPort(const TtyPort&) = delete;
    TtyPort& operator=(const TtyPort&) = delete;

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
    bool IsOpen() const override { return fd_ >= 0; }
    int LastError() const override { return lastError_; }

private:
    bool Fail();

    int fd_ = -1;
    core::SerialTimeouts timeouts_;
    std::atomic<int> lastError_{0};
};

// Reads from a non-blocking descriptor within a total time-out, ending early when the line is
// quiet for `intervalMs` after the first byte. Returns the count read or -1 (errno set). A
// hang-up (the other side gone) with nothing read is a failure.
int ReadWithTimeouts(int fd, std::uint8_t* buffer, std::size_t size, int totalMs, int intervalMs);

}  // namespace pelor::links
