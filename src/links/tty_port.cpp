#include "links/tty_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "links/custom_baud.h"

namespace pelor::links {

namespace {

bool DriveLine(int fd, int line, bool on) {
    if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
    return errno == ENOTTY || errno == EINVAL;  // no modem lines: nothing to drive
}

long long TotalReadMs(const core::SerialTimeouts& t, std::size_t count) {
    return static_cast<long long>(t.readPerByteMs) * static_cast<long long>(count) +
           t.readConstantMs;
}

}  // namespace

int ReadWithTimeouts(int fd, std::uint8_t* buffer, std::size_t size, int totalMs, int intervalMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(totalMs);
    std::size_t got = 0;
    while (got < size) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        if (got > 0 && intervalMs > 0 && left > intervalMs) left = intervalMs;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (ready == 0) {
            if (got > 0) break;
            continue;
        }
        const ssize_t n = read(fd, buffer + got, size - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (got > 0) break;
        if (n == 0) errno = EIO;  // end of file: the other side closed
        return -1;
    }
    return static_cast<int>(got);
}

TtyPort::~TtyPort() {
    Close();
}

bool TtyPort::Fail() {
    lastError_ = errno != 0 ? errno : EIO;
    return false;
}

bool TtyPort::Open(const std::string& name) {
    Close();
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Fail();
    if (!isatty(fd)) {
        errno = ENOTTY;
        ::close(fd);
        return Fail();
    }
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        ::close(fd);
        return Fail();
    }
    fd_ = fd;
    return true;
}

bool TtyPort::Configure(const core::SerialSettings& settings) {
    if (fd_ < 0) return false;
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0) return Fail();
    cfmakeraw(&tio);  // binary: no translation, no NUL stripping, no special characters
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(fd_, TCSANOW, &tio) != 0) return Fail();
    if (!SetBaudRate(settings.baudRate)) return false;
    if (!DriveLine(fd_, TIOCM_DTR, false) || !DriveLine(fd_, TIOCM_RTS, false)) return Fail();
    return true;
}

bool TtyPort::SetTimeouts(const core::SerialTimeouts& timeouts) {
    if (fd_ < 0) return false;
    timeouts_ = timeouts;
    return true;
}

bool TtyPort::SetRts(bool on) {
    return fd_ >= 0 && (DriveLine(fd_, TIOCM_RTS, on) || Fail());
}

bool TtyPort::SetBreak(bool on) {
    if (fd_ < 0) return false;
    if (ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) == 0) return true;
    return errno == ENOTTY || errno == EINVAL || Fail();
}

bool TtyPort::SetBaudRate(int baudRate) {
    if (fd_ < 0) return false;
    return SetCustomBaudRate(fd_, baudRate) || Fail();
}

int TtyPort::BaudRate() {
    return fd_ < 0 ? -1 : GetCustomBaudRate(fd_);
}

int TtyPort::BytesWaiting() {
    if (fd_ < 0) return -1;
    // A hang-up (the far end of a pseudo-terminal closed, a converter unplugged) is a
    // failure, not an empty buffer.
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 &&
        (p.revents & POLLIN) == 0) {
        lastError_ = EIO;
        return -1;
    }
    int waiting = 0;
    if (ioctl(fd_, FIONREAD, &waiting) != 0) {
        Fail();
        return -1;
    }
    return waiting;
}

int TtyPort::Read(std::span<std::uint8_t> buffer) {
    if (fd_ < 0) return -1;
    const int n = ReadWithTimeouts(fd_, buffer.data(), buffer.size(),
                                   static_cast<int>(TotalReadMs(timeouts_, buffer.size())),
                                   timeouts_.readIntervalMs);
    if (n < 0) Fail();
    return n;
}

int TtyPort::Write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0) return -1;
    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<long long>(timeouts_.writePerByteMs) *
                                                     static_cast<long long>(bytes.size()) +
                                                 timeouts_.writeConstantMs);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            Fail();
            return -1;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            lastError_ = ETIMEDOUT;
            break;
        }
        pollfd p{fd_, POLLOUT, 0};
        poll(&p, 1, static_cast<int>(left));
    }
    return static_cast<int>(sent);
}

bool TtyPort::Purge() {
    return fd_ >= 0 && (tcflush(fd_, TCIOFLUSH) == 0 || Fail());
}

void TtyPort::Close() {
    if (fd_ < 0) return;
    ioctl(fd_, TIOCNXCL);  // the exclusive mark outlives the descriptor otherwise
    ::close(fd_);
    fd_ = -1;
}

}  // namespace pelor::links
