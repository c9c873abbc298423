#include "links/net_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace pelor::links {

namespace {

bool ResolveHost(const std::string& host, in_addr& out) {
    if (!host.empty() && host[0] >= '0' && host[0] <= '9')
        return inet_aton(host.c_str(), &out) != 0;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    out = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

}  // namespace

int ConnectSocket(const std::string& host, int port, int kind, sockaddr_in& address) {
    const int fd =
        socket(AF_INET, (kind == kDatagramSocket ? SOCK_DGRAM : SOCK_STREAM) | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!ResolveHost(host, address.sin_addr)) {
        close(fd);
        return -1;
    }
    const auto* raw = reinterpret_cast<const sockaddr*>(&address);
    if (kind == kDatagramSocket) {
        if (bind(fd, raw, sizeof address) != 0) {
            close(fd);
            return -1;
        }
        const int flags = fcntl(fd, F_GETFL);
        if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
            std::fputs("failed to set non-blocking socket\n", stdout);
            close(fd);
            return -1;
        }
        return fd;
    }
    if (connect(fd, raw, sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int NetSend(int socket, std::span<const std::uint8_t> bytes, const sockaddr_in* address) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            sendto(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(address), address ? sizeof *address : 0);
        if (n <= 0) return -1;
        sent += static_cast<std::size_t>(n);
    }
    return static_cast<int>(sent);
}

int NetReceive(int socket, std::span<std::uint8_t> buffer, int timeoutSeconds, bool datagram,
               sockaddr_in* address) {
    return NetReceiveYielding(socket, buffer, timeoutSeconds * 1000, datagram, address, {});
}

int NetReceiveYielding(int socket, std::span<std::uint8_t> buffer, int timeoutMs, bool datagram,
                       sockaddr_in* address, const std::function<bool()>& yield) {
    constexpr int kSliceMs = 50;
    std::size_t got = 0;
    int idleMs = 0;  // time waited since the last arrival
    while (got < buffer.size()) {
        if (yield && yield()) return static_cast<int>(got);
        const int slice = yield ? std::min(kSliceMs, timeoutMs - idleMs) : timeoutMs - idleMs;
        if (slice < 0 || (slice == 0 && idleMs > 0)) return static_cast<int>(got);
        fd_set readable;
        fd_set broken;
        FD_ZERO(&readable);
        FD_ZERO(&broken);
        FD_SET(socket, &readable);
        FD_SET(socket, &broken);
        timeval wait{slice / 1000, static_cast<suseconds_t>(slice % 1000) * 1000};
        const int ready = select(socket + 1, &readable, nullptr, &broken, &wait);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return kNetSelectFailed;
        }
        if (ready == 0) {
            idleMs += slice;
            if (idleMs >= timeoutMs) return static_cast<int>(got);
            continue;
        }
        if (FD_ISSET(socket, &broken)) return kNetException;
        if (datagram) {
            sockaddr_in from{};
            socklen_t fromSize = sizeof from;
            // MSG_TRUNC reports the datagram's real size when it did not fit.
            const ssize_t n = recvfrom(socket, buffer.data(), buffer.size(), MSG_TRUNC,
                                       reinterpret_cast<sockaddr*>(&from), &fromSize);
            if (n < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
                return kNetReceiveFailed;
            }
            if (n == 0) return 0;  // an empty datagram, or the socket was shut down
            if (address != nullptr) *address = from;
            return static_cast<std::size_t>(n) > buffer.size() ? static_cast<int>(buffer.size())
                                                               : static_cast<int>(n);
        }
        const ssize_t n = recv(socket, buffer.data() + got, buffer.size() - got, 0);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            return kNetReceiveFailed;
        }
        got += static_cast<std::size_t>(n);
        idleMs = 0;
    }
    return static_cast<int>(got);
}

NetLink::NetLink(core::Prompt& prompt, ReaderSinks& sinks) : prompt_(prompt), sinks_(sinks) {}

NetLink::~NetLink() {
    CloseNetLink();
}

sockaddr_in NetLink::Peer() const {
    std::lock_guard lock(peerMutex_);
    return peer_;
}

int NetLink::OpenNetLink(int connectionType, const std::string& host, int port, int bufferSize,
                         core::ReaderThread* readerSlot) {
    CloseNetLink();
    const ConnectionKind* kind = FindConnectionKind(connectionType);
    if (kind == nullptr || kind->transport != Transport::Network) kind = FindConnectionKind(1);
    const bool datagram = kind->datagram;
    sockaddr_in address{};
    const int fd = ConnectSocket(host, port, datagram ? kDatagramSocket : kStreamSocket, address);
    if (fd < 0) return -1;
    {
        std::lock_guard lock(peerMutex_);
        peer_ = address;
    }
    datagram_ = datagram;
    socket_ = fd;
    const bool started = readerSlot != nullptr &&
                         readerSlot->Start([this, kind, bufferSize](const std::stop_token& token) {
                             RunReader(token, *kind, bufferSize);
                         });
    if (!started) {
        prompt_.Message("Unable to create the read thread", "Error");
        CloseNetLink();
        return -1;
    }
    reader_ = readerSlot;
    return 0;
}

void NetLink::CloseNetLink() {
    const int fd = socket_.load();
    // Shutting down wakes a reader waiting in select; it is joined before the descriptor is
    // closed, so the number cannot be reused under it.
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
    if (reader_ != nullptr) {
        reader_->Stop();
        reader_ = nullptr;
    }
    if (fd >= 0) {
        socket_ = -1;
        close(fd);
    }
}

// The socket as the reader reads it: each pass's first receive waits up to 3 seconds for its
// bytes; later ones take what already waits, a stream a whole read's worth, a datagram socket
// one datagram. A command waiting for its reply makes the reader step aside.
class NetLink::Source final : public ByteSource {
public:
    Source(NetLink& link, const std::stop_token& token)
        : link_(link), token_(token), datagram_(link.datagram_.load()) {}
    bool Open() const override { return link_.socket_.load() >= 0; }
    std::optional<bool> WholeReadWaiting(std::size_t size, bool first) override {
        if (first) return true;
        if (link_.repliesAwaited_.load() > 0) return false;
        return datagram_ ? link_.DatagramWaiting() : link_.BytesWaiting() >= size;
    }
    int Read(std::span<std::uint8_t> buffer) override {
        const auto yield = [this] {
            return link_.repliesAwaited_.load() > 0 || token_.stop_requested();
        };
        sockaddr_in from{};
        int got = 0;
        {
            std::lock_guard lock(link_.receiveMutex_);
            got = NetReceiveYielding(link_.socket_.load(), buffer, kNetReceiveSeconds * 1000,
                                     datagram_, &from, yield);
        }
        if (token_.stop_requested()) return -1;
        // A stream whose peer has gone ends the reader.
        if (got == kNetReceiveFailed && !datagram_) return -1;
        if (got <= 0) return 0;
        if (datagram_) {
            std::lock_guard lock(link_.peerMutex_);
            link_.peer_ = from;  // commands go back to the last sender
        }
        return got;
    }
    // Nothing to clear: what waits on the socket is the unit's data.
    void Purge() override {}
    bool FillsInSteps() const override { return false; }

private:
    NetLink& link_;
    const std::stop_token& token_;
    const bool datagram_;
};

void NetLink::RunReader(const std::stop_token& token, const ConnectionKind& kind, int bufferSize) {
    // The buffer holds 4000 bytes; the request stays below it.
    const std::size_t size = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(bufferSize, 0)), kNetReadBuffer - 1);
    Source source(*this, token);
    RunReaderLoop(source, sinks_, kind, size, token);
}

std::size_t NetLink::BytesWaiting() const {
    int waiting = 0;
    if (ioctl(socket_.load(), FIONREAD, &waiting) != 0 || waiting < 0) return 0;
    return static_cast<std::size_t>(waiting);
}

bool NetLink::DatagramWaiting() const {
    pollfd p{socket_.load(), POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

int NetLink::NetWrite(std::span<const std::uint8_t> bytes, bool expectReply) {
    const int fd = socket_.load();
    if (fd < 0) return -1;
    const bool datagram = datagram_.load();
    if (!expectReply) {
        const sockaddr_in peer = Peer();
        return NetSend(fd, bytes, datagram ? &peer : nullptr) < 0 ? -1 : 0;
    }
    // The reader steps aside until the reply is in; what was waiting before the command is
    // dropped, as the serial link purges its input, so the reply cannot be stale data.
    ++repliesAwaited_;
    std::lock_guard lock(receiveMutex_);
    --repliesAwaited_;
    std::array<std::uint8_t, 512> stale{};
    while (recv(fd, stale.data(), stale.size(), MSG_DONTWAIT) > 0) {
    }
    const sockaddr_in peer = Peer();
    if (NetSend(fd, bytes, datagram ? &peer : nullptr) < 0) return -1;
    unitReply_.fill('\0');
    std::array<std::uint8_t, 16> reply{};
    sockaddr_in from{};
    const int got = NetReceive(fd, reply, kNetReceiveSeconds, datagram, &from);
    if (got < 0) return -1;
    for (int i = 0; i < got; ++i)
        unitReply_[static_cast<std::size_t>(i)] =
            static_cast<char>(reply[static_cast<std::size_t>(i)]);
    return 0;
}

}  // namespace pelor::links
