#pragma once
// The FTDI D2XX library loaded at run time: every entry point looked up by name, each call
// through a thin wrapper that reports a missing entry point and returns status 1.
#include <string>

#include "core/prompt.h"
#include "core/usb_device.h"

namespace pelor::links {

inline constexpr const char* kFtd2xxLibraryName = "libftd2xx.so";

class Ftd2xxLibrary : public core::UsbDevice {
public:
    // `path` is what dlopen is given: the bare name searches the library path.
    Ftd2xxLibrary(core::Prompt& prompt, std::string path = kFtd2xxLibraryName);
    ~Ftd2xxLibrary() override;
    Ftd2xxLibrary(const Ftd2xxLibrary&) = delete;
    Ftd2xxLibrary& operator=(const Ftd2xxLibrary&) = delete;

    // Loads the library and looks up every entry point; each one missing is reported on its
    // own ("Error: Can't Find FT_Write"), a missing library once. False when anything is
    // missing; the entry points found stay usable.
    bool LoadUsbLibrary();

    core::FtStatus Open(int deviceNumber) override;
    core::FtStatus Close() override;
    core::FtStatus ResetDevice() override;
    core::FtStatus SetDataCharacteristics(unsigned char bits, unsigned char stopBits,
                                          unsigned char parity) override;
    core::FtStatus SetBaudRate(unsigned long baudRate) override;
    core::FtStatus SetFlowControl(unsigned short flow, unsigned char xon,
                                  unsigned char xoff) override;
    core::FtStatus SetRts() override;
    core::FtStatus SetTimeouts(unsigned long readMs, unsigned long writeMs) override;
    core::FtStatus SetLatencyTimer(unsigned char ms) override;
    core::FtStatus SetUsbParameters(unsigned long inSize, unsigned long outSize) override;
    core::FtStatus Purge(unsigned long mask) override;
    core::FtStatus GetQueueStatus(std::uint32_t& queued) override;
    core::FtStatus Read(void* buffer, std::uint32_t count, std::uint32_t& got) override;
    core::FtStatus Write(const void* bytes, std::uint32_t count, std::uint32_t& written) override;
    core::FtStatus ListDevices(std::uint32_t& count) override;

    // The entry points, in the order they are looked up.
    static constexpr int kEntryCount = 18;
    static const char* const kEntryNames[kEntryCount];

private:
    void* Entry(int index, const char* wrapperName);

    core::Prompt& prompt_;
    std::string path_;
    void* library_ = nullptr;
    void* entries_[kEntryCount] = {};
    void* handle_ = nullptr;
};

}  // namespace pelor::links
