#include "links/ftd2xx_library.h"

#include <dlfcn.h>

namespace pelor::links {

namespace {

// The library's calling conventions: status as unsigned long, counts as 32-bit words, the
// device as an opaque handle.
using Status = core::FtStatus;
using Handle = void*;
using Word = unsigned int;

enum Entry {
    kWrite,
    kRead,
    kOpen,
    kOpenEx,
    kListDevices,
    kClose,
    kResetDevice,
    kPurge,
    kSetTimeouts,
    kSetLatencyTimer,
    kSetUsbParameters,
    kGetQueueStatus,
    kCreateDeviceInfoList,
    kGetDeviceInfoList,
    kSetBaudRate,
    kSetFlowControl,
    kSetRts,
    kSetDataCharacteristics,
};

template <typename F>
F As(void* entry) {
    return reinterpret_cast<F>(entry);
}

}  // namespace

const char* const Ftd2xxLibrary::kEntryNames[kEntryCount] = {
    "FT_Write",
    "FT_Read",
    "FT_Open",
    "FT_OpenEx",
    "FT_ListDevices",
    "FT_Close",
    "FT_ResetDevice",
    "FT_Purge",
    "FT_SetTimeouts",
    "FT_SetLatencyTimer",
    "FT_SetUSBParameters",
    "FT_GetQueueStatus",
    "FT_CreateDeviceInfoList",
    "FT_GetDeviceInfoList",
    "FT_SetBaudRate",
    "FT_SetFlowControl",
    "FT_SetRts",
    "FT_SetDataCharacteristics",
};

Ftd2xxLibrary::Ftd2xxLibrary(core::Prompt& prompt, std::string path)
    : prompt_(prompt), path_(std::move(path)) {}

Ftd2xxLibrary::~Ftd2xxLibrary() {
    if (library_ != nullptr) dlclose(library_);
}

bool Ftd2xxLibrary::LoadUsbLibrary() {
    if (library_ == nullptr) library_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        prompt_.Message("Error: Can't Load " + std::string(kFtd2xxLibraryName), "");
        return false;
    }
    bool all = true;
    for (int i = 0; i < kEntryCount; ++i) {
        entries_[i] = dlsym(library_, kEntryNames[i]);
        if (entries_[i] == nullptr) {
            prompt_.Message("Error: Can't Find " + std::string(kEntryNames[i]), "");
            all = false;
        }
    }
    return all;
}

void* Ftd2xxLibrary::Entry(int index, const char* wrapperName) {
    if (entries_[index] == nullptr)
        prompt_.Message(std::string(wrapperName) + " is not valid!", "Error");
    return entries_[index];
}

Status Ftd2xxLibrary::Open(int deviceNumber) {
    void* f = Entry(kOpen, "FT_Open");
    if (f == nullptr) return 1;
    return As<Status (*)(int, Handle*)>(f)(deviceNumber, &handle_);
}

Status Ftd2xxLibrary::Close() {
    void* f = Entry(kClose, "FT_Close");
    if (f == nullptr) return 1;
    const Status status = As<Status (*)(Handle)>(f)(handle_);
    handle_ = nullptr;
    return status;
}

Status Ftd2xxLibrary::ResetDevice() {
    void* f = Entry(kResetDevice, "FT_ResetDevice");
    return f == nullptr ? 1 : As<Status (*)(Handle)>(f)(handle_);
}

Status Ftd2xxLibrary::SetDataCharacteristics(unsigned char bits, unsigned char stopBits,
                                             unsigned char parity) {
    void* f = Entry(kSetDataCharacteristics, "FT_SetDataCharacteristics");
    return f == nullptr ? 1
                        : As<Status (*)(Handle, unsigned char, unsigned char, unsigned char)>(f)(
                              handle_, bits, stopBits, parity);
}

Status Ftd2xxLibrary::SetBaudRate(unsigned long baudRate) {
    void* f = Entry(kSetBaudRate, "FT_SetBaudRate");
    return f == nullptr ? 1 : As<Status (*)(Handle, unsigned long)>(f)(handle_, baudRate);
}

Status Ftd2xxLibrary::SetFlowControl(unsigned short flow, unsigned char xon, unsigned char xoff) {
    void* f = Entry(kSetFlowControl, "FT_SetFlowControl");
    return f == nullptr ? 1
                        : As<Status (*)(Handle, unsigned short, unsigned char, unsigned char)>(f)(
                              handle_, flow, xon, xoff);
}

Status Ftd2xxLibrary::SetRts() {
    void* f = Entry(kSetRts, "FT_SetRts");
    return f == nullptr ? 1 : As<Status (*)(Handle)>(f)(handle_);
}

Status Ftd2xxLibrary::SetTimeouts(unsigned long readMs, unsigned long writeMs) {
    void* f = Entry(kSetTimeouts, "FT_SetTimeouts");
    return f == nullptr
               ? 1
               : As<Status (*)(Handle, unsigned long, unsigned long)>(f)(handle_, readMs, writeMs);
}

Status Ftd2xxLibrary::SetLatencyTimer(unsigned char ms) {
    void* f = Entry(kSetLatencyTimer, "FT_SetLatencyTimer");
    return f == nullptr ? 1 : As<Status (*)(Handle, unsigned char)>(f)(handle_, ms);
}

Status Ftd2xxLibrary::SetUsbParameters(unsigned long inSize, unsigned long outSize) {
    void* f = Entry(kSetUsbParameters, "FT_SetUSBParameters");
    return f == nullptr
               ? 1
               : As<Status (*)(Handle, unsigned long, unsigned long)>(f)(handle_, inSize, outSize);
}

Status Ftd2xxLibrary::Purge(unsigned long mask) {
    void* f = Entry(kPurge, "FT_Purge");
    return f == nullptr ? 1 : As<Status (*)(Handle, unsigned long)>(f)(handle_, mask);
}

Status Ftd2xxLibrary::GetQueueStatus(std::uint32_t& queued) {
    void* f = Entry(kGetQueueStatus, "FT_GetQueueStatus");
    if (f == nullptr) return 1;
    Word n = 0;
    const Status status = As<Status (*)(Handle, Word*)>(f)(handle_, &n);
    queued = n;
    return status;
}

Status Ftd2xxLibrary::Read(void* buffer, std::uint32_t count, std::uint32_t& got) {
    void* f = Entry(kRead, "FT_Read");
    if (f == nullptr) return 1;
    Word n = 0;
    const Status status = As<Status (*)(Handle, void*, Word, Word*)>(f)(handle_, buffer, count, &n);
    got = n > count ? count : n;  // never trust a count beyond the buffer
    return status;
}

Status Ftd2xxLibrary::Write(const void* bytes, std::uint32_t count, std::uint32_t& written) {
    void* f = Entry(kWrite, "FT_Write");
    if (f == nullptr) return 1;
    Word n = 0;
    const Status status =
        As<Status (*)(Handle, const void*, Word, Word*)>(f)(handle_, bytes, count, &n);
    written = n;
    return status;
}

Status Ftd2xxLibrary::ListDevices(std::uint32_t& count) {
    void* f = Entry(kListDevices, "FTCreateListDevices");
    if (f == nullptr) return 1;
    Word n = 0;
    const Status status = As<Status (*)(void*, void*, Word)>(f)(
        &n, nullptr, static_cast<Word>(core::kFtListNumberOnly));
    count = n;
    return status;
}

}  // namespace pelor::links
