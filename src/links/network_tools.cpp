#include "links/network_tools.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace pelor::links {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool Cancelled(const NetworkToolOptions& o) {
    return o.cancel != nullptr && o.cancel->load(std::memory_order_relaxed);
}

// Closes the descriptor on every way out.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

// Waits for `events` on `fd` up to `limit`, in short slices so a cancel is seen quickly.
// Returns true when the descriptor is ready.
bool WaitFor(int fd, short events, milliseconds limit, const NetworkToolOptions& o) {
    const auto end = Clock::now() + limit;
    while (!Cancelled(o)) {
        const auto left = std::chrono::ceil<milliseconds>(end - Clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 100)));
        if (r > 0) return true;
        if (r < 0 && errno != EINTR) return false;
    }
    return false;
}

bool ResolveHost(std::string_view name, in_addr& out) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const std::string host(name);
    if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || !list) {
        return false;
    }
    out = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr;
    ::freeaddrinfo(list);
    return true;
}

}  // namespace

void RunTestConnection(std::string_view address, int port, const LineSink& sink,
                       const NetworkToolOptions& o) {
    // A port number past 16 bits would otherwise be cut to another port and tried.
    if (port < 0 || port > 65535) {
        sink("Invalid port " + std::to_string(port) + " (0 to 65535)");
        return;
    }
    // Sockets need no library start here; the line is kept for installers who know it.
    sink("Initialize  success");
    Fd s{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    if (s.fd < 0) {
        sink("Failed Connection attempt");
        return;
    }
    sink("Socket created");
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!address.empty() && address.front() >= '0' && address.front() <= '9') {
        const std::string text(address);
        if (::inet_pton(AF_INET, text.c_str(), &peer.sin_addr) != 1) {
            sink("Invalid IP address");
            return;
        }
        sink("Valid IP address");
    } else {
        if (!ResolveHost(address, peer.sin_addr)) {
            sink("Invalid Hostname");
            return;
        }
        sink("Valid Hostname");
    }
    char shown[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &peer.sin_addr, shown, sizeof shown);
    if (o.onSend) o.onSend(shown, static_cast<std::uint16_t>(port));

    // Non-blocking connect, so that an unreachable address ends after the time-out and a
    // closing window is not held up.
    ::fcntl(s.fd, F_SETFL, ::fcntl(s.fd, F_GETFL) | O_NONBLOCK);
    bool ok = false;
    if (::connect(s.fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
        ok = true;
    } else if (errno == EINPROGRESS && WaitFor(s.fd, POLLOUT, o.connectTimeout, o)) {
        int err = 0;
        socklen_t len = sizeof err;
        ok = ::getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
    }
    if (!ok) {
        sink("Failed Connection attempt");
        return;
    }
    sink("Connection to host successful");
    ::shutdown(s.fd, SHUT_RDWR);
    ::close(s.fd);
    s.fd = -1;
    sink("Socket closed");
}

void RunDiscoveryScan(const DiscoveryTarget& target, const LineSink& sink,
                      const NetworkToolOptions& o) {
    sink("Start Scan");
    auto finish = [&] { sink("End Scan"); };
    Fd s{::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)};
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (s.fd < 0 || ::bind(s.fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        sink("Bind failed");
        return finish();
    }
    const int one = 1;
    ::setsockopt(s.fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    sockaddr_in dest{};
    dest.sin_family = AF_INET;
    dest.sin_port = htons(target.port);
    if (::inet_pton(AF_INET, target.address.c_str(), &dest.sin_addr) != 1) {
        sink("Sendto failed");
        return finish();
    }
    if (o.onSend) o.onSend(target.address, target.port);
    if (::sendto(s.fd, kDiscoveryRequest, sizeof kDiscoveryRequest, 0,
                 reinterpret_cast<const sockaddr*>(&dest),
                 sizeof dest) != static_cast<ssize_t>(sizeof kDiscoveryRequest)) {
        sink("Sendto failed");
        return finish();
    }

    // Every reply is listed, then the scan goes on until the window measured from the
    // request has passed. A late gateway is found as long as it answers inside the window.
    const auto start = o.now();
    std::vector<std::uint8_t> buf(kDiscoveryReplyMax);
    std::vector<std::string> lines;
    while (!Cancelled(o)) {
        const auto left = o.scanWindow - std::chrono::ceil<milliseconds>(o.now() - start);
        if (left.count() <= 0) break;
        bool wrongType = false;
        if (!WaitFor(s.fd, POLLIN, left, o)) {
            break;  // the window passed without a reply, or the scan was cancelled
        } else {
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            const ssize_t n = ::recvfrom(s.fd, buf.data(), buf.size(), 0,
                                         reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n < 0) continue;
            char sender[INET_ADDRSTRLEN] = {};
            ::inet_ntop(AF_INET, &from.sin_addr, sender, sizeof sender);
            lines.clear();
            wrongType = DescribeDiscoveryReply(
                            std::span<const std::uint8_t>(buf.data(), static_cast<size_t>(n)),
                            sender, lines) == ReplyKind::WrongType;
            for (const auto& l : lines) sink(l);
        }
        if (wrongType || Cancelled(o)) continue;
        if (o.now() - start >= o.scanWindow) break;
        sink("Continue scan ...");
        sink(" ");
    }
    finish();
}

}  // namespace pelor::links
