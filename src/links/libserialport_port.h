#pragma once
// SerialPort on libserialport: real devices, USB serial converters and pseudo-terminals.
#include <atomic>
#include <memory>

#include "core/serial_port.h"

struct sp_port;

namespace pelor::links {

class LibSerialPort : public core::SerialPort {
public:
    LibSerialPort() = default;
    ~LibSerialPort() override;
    LibSerialPort(const LibSerialPort&) = delete;
    LibSerialPort& operator=(const LibSerialPort&) = delete;

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
    bool IsOpen() const override { return port_ != nullptr; }
    int LastError() const override { return lastError_; }

private:
    bool Fail();

    sp_port* port_ = nullptr;
    core::SerialTimeouts timeouts_;
    std::atomic<int> lastError_{0};
};

}  // namespace pelor::links
