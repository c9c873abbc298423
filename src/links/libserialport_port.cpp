#include "links/libserialport_port.h"

#include <libserialport.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <chrono>

namespace pelor::links {

namespace {

// Sets or clears one modem line directly: libserialport refuses on devices without modem
// lines (pseudo-terminals), where the request is meaningless rather than an error.
bool DriveLine(int fd, int line, bool on) {
    if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
    return errno == ENOTTY || errno == EINVAL;
}

}  // namespace

LibSerialPort::~LibSerialPort() {
    Close();
}

bool LibSerialPort::Fail() {
    lastError_ = sp_last_error_code();
    if (lastError_ == 0) lastError_ = EIO;
    return false;
}

bool LibSerialPort::Open(const std::string& name) {
    Close();
    sp_port* port = nullptr;
    if (sp_get_port_by_name(name.c_str(), &port) != SP_OK) return Fail();
    if (sp_open(port, SP_MODE_READ_WRITE) != SP_OK) {
        Fail();
        sp_free_port(port);
        return false;
    }
    port_ = port;
    int fd = -1;
    if (sp_get_port_handle(port_, &fd) == SP_OK && fd >= 0) {
        // Exclusive use: a second open of the same device fails while this one holds it.
        ioctl(fd, TIOCEXCL);
    }
    return true;
}

bool LibSerialPort::Configure(const core::SerialSettings& settings) {
    if (port_ == nullptr) return false;
    int fd = -1;
    if (sp_get_port_handle(port_, &fd) != SP_OK) return Fail();
    // 8 data bits, no parity, 1 stop bit, no XON/XOFF and no hardware flow control. The
    // modem lines are driven below, on their own, so a device without them still configures.
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return Fail();
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNPAR | PARMRK |
                                          ICRNL | INLCR | IGNCR);
    tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) return Fail();
    // The rate last: a rate outside the standard table is set through the kernel's custom-rate
    // interface, which a later plain termios write would undo.
    if (sp_set_bits(port_, 8) != SP_OK) return Fail();
    if (sp_set_parity(port_, SP_PARITY_NONE) != SP_OK) return Fail();
    if (sp_set_stopbits(port_, 1) != SP_OK) return Fail();
    if (sp_set_baudrate(port_, settings.baudRate) != SP_OK) return Fail();
    if (!DriveLine(fd, TIOCM_DTR, false) || !DriveLine(fd, TIOCM_RTS, false)) return Fail();
    return true;
}

bool LibSerialPort::SetTimeouts(const core::SerialTimeouts& timeouts) {
    if (port_ == nullptr) return false;
    timeouts_ = timeouts;
    return true;
}

bool LibSerialPort::SetRts(bool on) {
    int fd = -1;
    if (port_ == nullptr || sp_get_port_handle(port_, &fd) != SP_OK) return false;
    return DriveLine(fd, TIOCM_RTS, on) || Fail();
}

bool LibSerialPort::SetBreak(bool on) {
    if (port_ == nullptr) return false;
    return (on ? sp_start_break(port_) : sp_end_break(port_)) == SP_OK || Fail();
}

bool LibSerialPort::SetBaudRate(int baudRate) {
    if (port_ == nullptr) return false;
    return sp_set_baudrate(port_, baudRate) == SP_OK || Fail();
}

int LibSerialPort::BaudRate() {
    if (port_ == nullptr) return -1;
    sp_port_config* config = nullptr;
    if (sp_new_config(&config) != SP_OK) return -1;
    int baud = -1;
    if (sp_get_config(port_, config) != SP_OK || sp_get_config_baudrate(config, &baud) != SP_OK)
        baud = -1;
    sp_free_config(config);
    return baud;
}

int LibSerialPort::BytesWaiting() {
    if (port_ == nullptr) return -1;
    const sp_return waiting = sp_input_waiting(port_);
    if (waiting < 0) {
        Fail();
        return -1;
    }
    return static_cast<int>(waiting);
}

int LibSerialPort::Read(std::span<std::uint8_t> buffer) {
    if (port_ == nullptr) return -1;
    using Clock = std::chrono::steady_clock;
    const auto total = std::chrono::milliseconds(static_cast<long long>(timeouts_.readPerByteMs) *
                                                     static_cast<long long>(buffer.size()) +
                                                 timeouts_.readConstantMs);
    const auto deadline = Clock::now() + total;
    std::size_t got = 0;
    while (got < buffer.size()) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        // After the first byte a quiet line longer than the interval ends the read.
        if (got > 0 && timeouts_.readIntervalMs > 0 && left > timeouts_.readIntervalMs)
            left = timeouts_.readIntervalMs;
        const sp_return n = sp_blocking_read_next(port_, buffer.data() + got, buffer.size() - got,
                                                  static_cast<unsigned>(left));
        if (n < 0) {
            Fail();
            return -1;
        }
        if (n == 0) {
            if (got > 0) break;  // interval or total time-out
            continue;
        }
        got += static_cast<std::size_t>(n);
    }
    return static_cast<int>(got);
}

int LibSerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (port_ == nullptr) return -1;
    const long long total =
        static_cast<long long>(timeouts_.writePerByteMs) * static_cast<long long>(bytes.size()) +
        timeouts_.writeConstantMs;
    const sp_return n =
        sp_blocking_write(port_, bytes.data(), bytes.size(), static_cast<unsigned>(total));
    if (n < 0) {
        Fail();
        return -1;
    }
    if (static_cast<std::size_t>(n) < bytes.size()) lastError_ = ETIMEDOUT;
    return static_cast<int>(n);
}

bool LibSerialPort::Purge() {
    if (port_ == nullptr) return false;
    return sp_flush(port_, SP_BUF_BOTH) == SP_OK || Fail();
}

void LibSerialPort::Close() {
    if (port_ == nullptr) return;
    int fd = -1;
    if (sp_get_port_handle(port_, &fd) == SP_OK && fd >= 0) ioctl(fd, TIOCNXCL);
    sp_close(port_);
    sp_free_port(port_);
    port_ = nullptr;
}

}  // namespace pelor::links
