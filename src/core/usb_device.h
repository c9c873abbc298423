#pragma once
// The calls the USB link makes to an FTDI USB serial converter through its vendor library.
// Every call returns the library's status: 0 is success, and the link also counts 4 as success
// (see StatusOk). The real implementation loads the library at run time (links/); tests load
// a fake library of their own through the same code.
#include <cstdint>

namespace pelor::core {

using FtStatus = unsigned long;

inline bool StatusOk(FtStatus status) {
    return status == 0 || status == 4;
}

inline constexpr unsigned long kFtPurgeRx = 1;
inline constexpr unsigned long kFtPurgeTx = 2;
inline constexpr unsigned short kFtFlowNone = 0x0000;
inline constexpr unsigned char kFtBits8 = 8;
inline constexpr unsigned char kFtStopBits1 = 0;
inline constexpr unsigned char kFtParityNone = 0;
inline constexpr unsigned long kFtListNumberOnly = 0x80000000UL;

class UsbDevice {
public:
    virtual ~UsbDevice() = default;
    virtual FtStatus Open(int deviceNumber) = 0;
    virtual FtStatus Close() = 0;
    virtual FtStatus ResetDevice() = 0;
    virtual FtStatus SetDataCharacteristics(unsigned char bits, unsigned char stopBits,
                                            unsigned char parity) = 0;
    virtual FtStatus SetBaudRate(unsigned long baudRate) = 0;
    virtual FtStatus SetFlowControl(unsigned short flow, unsigned char xon, unsigned char xoff) = 0;
    virtual FtStatus SetRts() = 0;
    virtual FtStatus SetTimeouts(unsigned long readMs, unsigned long writeMs) = 0;
    virtual FtStatus SetLatencyTimer(unsigned char ms) = 0;
    virtual FtStatus SetUsbParameters(unsigned long inSize, unsigned long outSize) = 0;
    virtual FtStatus Purge(unsigned long mask) = 0;
    virtual FtStatus GetQueueStatus(std::uint32_t& queued) = 0;
    virtual FtStatus Read(void* buffer, std::uint32_t count, std::uint32_t& got) = 0;
    virtual FtStatus Write(const void* bytes, std::uint32_t count, std::uint32_t& written) = 0;
    // Number of attached devices.
    virtual FtStatus ListDevices(std::uint32_t& count) = 0;
};

}  // namespace pelor::core
