// A stand-in for the FTDI D2XX library, built as "libftd2xx.so" for the tests: the device is
// either a pseudo-terminal (the simulator's) or a scripted byte queue. Control functions
// (FakeFtdi*) let a test choose the device, the success status (0 or 4), a failing call and an
// unplugged device, and read back what was written and the order of the calls.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern "C" int FakeFtdiApplySpeed(int fd, unsigned long baud);

namespace {

using Status = unsigned long;
using Word = unsigned int;
constexpr Status kNotFound = 2;
constexpr Status kOtherError = 18;

struct Device {
    std::mutex mutex;
    std::string ptyPath;
    int fd = -1;
    std::string script;  // bytes the scripted device delivers
    std::string written;
    std::string calls;
    std::string failing;  // the call that fails
    Status success = 0;
    bool unplugged = false;
    bool open = false;
    unsigned long readTimeoutMs = 0;
    int readWaitCapMs = 2000;
    unsigned long baud = 0;
    // Descriptions of the attached devices, one per device (FT_ListDevices).
    std::vector<std::string> devices{"Fake FTDI Device"};
};

Device& D() {
    static Device device;
    return device;
}

// Records the call and says how it ends: the success status, or a failure.
Status Enter(const char* name) {
    Device& d = D();
    d.calls += name;
    d.calls += ',';
    if (d.unplugged) return kNotFound;
    if (d.failing == name) return kOtherError;
    return d.success;
}

bool Ok(Status s) {
    return s == 0 || s == 4;
}

int Queued(Device& d) {
    if (d.fd >= 0) {
        int n = 0;
        if (ioctl(d.fd, FIONREAD, &n) != 0) return -1;
        pollfd p{d.fd, POLLIN, 0};
        if (n == 0 && poll(&p, 1, 0) > 0 && (p.revents & POLLHUP)) return -1;
        return n;
    }
    return static_cast<int>(d.script.size());
}

}  // namespace

extern "C" {

// ---- control ----
void FakeFtdiReset() {
    Device& d = D();
    std::lock_guard lock(d.mutex);
    if (d.fd >= 0) close(d.fd);
    d.fd = -1;
    d.ptyPath.clear();
    d.script.clear();
    d.written.clear();
    d.calls.clear();
    d.failing.clear();
    d.success = 0;
    d.unplugged = false;
    d.open = false;
    d.readWaitCapMs = 2000;
    d.baud = 0;
    d.devices = {"Fake FTDI Device"};
}
// The attached devices: their descriptions separated by new lines ("" for none).
void FakeFtdiSetDevices(const char* descriptions) {
    std::lock_guard lock(D().mutex);
    D().devices.clear();
    std::string all = descriptions;
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = std::min(all.find('\n', start), all.size());
        D().devices.push_back(all.substr(start, end - start));
        start = end + 1;
    }
}
void FakeFtdiServePty(const char* path) {
    std::lock_guard lock(D().mutex);
    D().ptyPath = path;
}
void FakeFtdiAddScript(const char* bytes, unsigned long size) {
    std::lock_guard lock(D().mutex);
    D().script.append(bytes, size);
}
void FakeFtdiSetSuccessStatus(unsigned long status) {
    std::lock_guard lock(D().mutex);
    D().success = status;
}
void FakeFtdiFailCall(const char* name) {
    std::lock_guard lock(D().mutex);
    D().failing = name;
}
void FakeFtdiUnplug() {
    std::lock_guard lock(D().mutex);
    D().unplugged = true;
}
void FakeFtdiSetReadWaitCap(int ms) {
    std::lock_guard lock(D().mutex);
    D().readWaitCapMs = ms;
}
// Copies what was written (or the call log) into `out`; returns the full length.
unsigned long FakeFtdiWritten(char* out, unsigned long size) {
    std::lock_guard lock(D().mutex);
    const std::string& w = D().written;
    if (out != nullptr) std::copy_n(w.data(), std::min<unsigned long>(size, w.size()), out);
    return w.size();
}
unsigned long FakeFtdiCalls(char* out, unsigned long size) {
    std::lock_guard lock(D().mutex);
    const std::string& c = D().calls;
    if (out != nullptr) std::copy_n(c.data(), std::min<unsigned long>(size, c.size()), out);
    return c.size();
}
unsigned long FakeFtdiBaudRate() {
    std::lock_guard lock(D().mutex);
    return D().baud;
}

// ---- the library ----
Status FT_Open(int number, void** handle) {
    Device& d = D();
    std::lock_guard lock(d.mutex);
    const Status s = Enter("FT_Open");
    if (!Ok(s)) return s;
    if (number != 0 || d.open) return kNotFound;
    if (!d.ptyPath.empty()) {
        d.fd = open(d.ptyPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (d.fd < 0) return kNotFound;
        termios tio{};
        tcgetattr(d.fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(d.fd, TCSANOW, &tio);
    }
    d.open = true;
    *handle = &d;
    return s;
}
Status FT_OpenEx(void*, Word, void**) {
    return kNotFound;
}
Status FT_Close(void* handle) {
    Device& d = D();
    std::lock_guard lock(d.mutex);
    const Status s = Enter("FT_Close");
    if (handle != &d) return kOtherError;
    if (d.fd >= 0) close(d.fd);
    d.fd = -1;
    d.open = false;
    return s;
}
Status FT_ResetDevice(void*) {
    std::lock_guard lock(D().mutex);
    return Enter("FT_ResetDevice");
}
Status FT_SetDataCharacteristics(void*, unsigned char bits, unsigned char stop,
                                 unsigned char parity) {
    std::lock_guard lock(D().mutex);
    const Status s = Enter("FT_SetDataCharacteristics");
    return bits == 8 && stop == 0 && parity == 0 ? s : kOtherError;
}
Status FT_SetBaudRate(void*, unsigned long baud) {
    std::lock_guard lock(D().mutex);
    D().baud = baud;
    if (D().fd >= 0) FakeFtdiApplySpeed(D().fd, baud);
    return Enter("FT_SetBaudRate");
}
Status FT_SetFlowControl(void*, unsigned short, unsigned char, unsigned char) {
    std::lock_guard lock(D().mutex);
    return Enter("FT_SetFlowControl");
}
#ifndef FAKE_FTDI_PARTIAL  // the partial build lacks FT_SetRts and FT_Read
Status FT_SetRts(void*) {
    std::lock_guard lock(D().mutex);
    return Enter("FT_SetRts");
}
#endif
Status FT_SetTimeouts(void*, unsigned long readMs, unsigned long) {
    std::lock_guard lock(D().mutex);
    D().readTimeoutMs = readMs;
    return Enter("FT_SetTimeouts");
}
Status FT_SetLatencyTimer(void*, unsigned char) {
    std::lock_guard lock(D().mutex);
    return Enter("FT_SetLatencyTimer");
}
Status FT_SetUSBParameters(void*, unsigned long, unsigned long) {
    std::lock_guard lock(D().mutex);
    return Enter("FT_SetUSBParameters");
}
Status FT_Purge(void*, unsigned long mask) {
    Device& d = D();
    std::lock_guard lock(d.mutex);
    const Status s = Enter("FT_Purge");
    if (!Ok(s)) return s;
    if ((mask & 1) != 0) {
        if (d.fd >= 0) tcflush(d.fd, TCIFLUSH);
        d.script.clear();
    }
    return s;
}
Status FT_GetQueueStatus(void*, Word* queued) {
    Device& d = D();
    std::lock_guard lock(d.mutex);
    const Status s = Enter("FT_GetQueueStatus");
    if (!Ok(s)) return s;
    const int n = Queued(d);
    if (n < 0) return kOtherError;  // the terminal went away
    *queued = static_cast<Word>(n);
    return s;
}
#ifndef FAKE_FTDI_PARTIAL
// Waits for `count` bytes up to the read time-out (capped for the tests), then returns what
// is there.
Status FT_Read(void*, void* buffer, Word count, Word* got) {
    Device& d = D();
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        {
            std::lock_guard lock(d.mutex);
            const Status s = Enter("FT_Read");
            if (!Ok(s)) return s;
            const int queued = Queued(d);
            if (queued < 0) return kOtherError;
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - start)
                                    .count();
            const long limit = std::min<long>(static_cast<long>(d.readTimeoutMs), d.readWaitCapMs);
            if (static_cast<Word>(queued) >= count || waited >= limit) {
                Word n = std::min<Word>(count, static_cast<Word>(queued));
                if (d.fd >= 0) {
                    const ssize_t r = n > 0 ? read(d.fd, buffer, n) : 0;
                    n = r > 0 ? static_cast<Word>(r) : 0;
                } else {
                    std::memcpy(buffer, d.script.data(), n);
                    d.script.erase(0, n);
                }
                *got = n;
                // Each call in the log once, however long it waited.
                return s;
            }
            // Undo the repeated log entry of this wait.
            d.calls.resize(d.calls.size() - std::strlen("FT_Read,"));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
#endif
Status FT_Write(void*, const void* bytes, Word count, Word* written) {
    Device& d = D();
    std::lock_guard lock(d.mutex);
    const Status s = Enter("FT_Write");
    if (!Ok(s)) return s;
    d.written.append(static_cast<const char*>(bytes), count);
    if (d.fd >= 0) {
        const ssize_t n = write(d.fd, bytes, count);
        *written = n > 0 ? static_cast<Word>(n) : 0;
    } else {
        *written = count;
    }
    return s;
}
#ifndef FAKE_FTDI_NO_LIST  // a build without the device-list function
// The number of devices (FT_LIST_NUMBER_ONLY), or one device's description
// (FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION: arg1 is the index, arg2 a 64-byte buffer).
Status FT_ListDevices(void* arg1, void* arg2, Word flags) {
    std::lock_guard lock(D().mutex);
    Device& d = D();
    const Status s = Enter("FT_ListDevices");
    if (flags & 0x80000000U) {
        *static_cast<Word*>(arg1) = static_cast<Word>(d.devices.size());
        return s;
    }
    if (flags & 0x40000000U) {
        const auto index = reinterpret_cast<std::uintptr_t>(arg1);
        if (index >= d.devices.size()) return kOtherError;
        auto* out = static_cast<char*>(arg2);
        const std::string& text = d.devices[index];
        const std::size_t n = std::min<std::size_t>(text.size(), 63);
        std::memcpy(out, text.data(), n);
        out[n] = '\0';
        return s;
    }
    return kOtherError;
}
#endif
Status FT_CreateDeviceInfoList(Word* count) {
    std::lock_guard lock(D().mutex);
    *count = 1;
    return Enter("FT_CreateDeviceInfoList");
}
Status FT_GetDeviceInfoList(void*, Word* count) {
    std::lock_guard lock(D().mutex);
    *count = 1;
    return Enter("FT_GetDeviceInfoList");
}

}  // extern "C"
