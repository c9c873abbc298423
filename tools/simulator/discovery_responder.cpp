#include "simulator/discovery_responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>
#include <vector>

namespace pelor::sim {

namespace {

// "HEX" digits of exactly 2 * out.size() characters, '-' and ':' allowed between bytes.
template <std::size_t N>
bool ParseHexBytes(std::string text, std::array<std::uint8_t, N>& out) {
    std::erase_if(text, [](char c) { return c == '-' || c == ':'; });
    if (text.size() != 2 * N) return false;
    for (std::size_t k = 0; k < N; ++k) {
        unsigned v = 0;
        const char* b = text.data() + 2 * k;
        const auto [end, ec] = std::from_chars(b, b + 2, v, 16);
        if (ec != std::errc{} || end != b + 2) return false;
        out[k] = static_cast<std::uint8_t>(v);
    }
    return true;
}

bool ParseByte(std::string_view s, std::uint8_t& out) {
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size() || v > 255) return false;
    out = static_cast<std::uint8_t>(v);
    return true;
}

}  // namespace

bool ParseDiscoveryOption(const std::vector<std::string>& args, std::size_t& i, DiscoveryOptions& o,
                          std::string& error) {
    const std::string& a = args[i];
    if (a == "--discovery-malformed") {
        o.malformed = true;
        return true;
    }
    if (a != "--discovery" && a != "--discovery-type" && a != "--discovery-version" &&
        a != "--discovery-serial" && a != "--discovery-mac") {
        return false;
    }
    if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return true;
    }
    const std::string v = args[++i];
    bool ok = true;
    if (a == "--discovery") {
        int port = -1;
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), port);
        ok = !v.empty() && ec == std::errc{} && end == v.data() + v.size() && port >= 0 &&
             port <= 65535;
        if (ok) o.port = port;
    } else if (a == "--discovery-type") {
        ok = v.size() == 2;
        if (ok) o.type = {static_cast<std::uint8_t>(v[0]), static_cast<std::uint8_t>(v[1])};
    } else if (a == "--discovery-version") {
        const auto dot = v.find('.');
        ok = dot != std::string::npos && ParseByte(std::string_view(v).substr(0, dot), o.major) &&
             ParseByte(std::string_view(v).substr(dot + 1), o.minor);
    } else if (a == "--discovery-serial") {
        ok = ParseHexBytes(v, o.serial);
    } else {
        ok = ParseHexBytes(v, o.mac);
    }
    if (!ok) error = "bad value '" + v + "' for " + a;
    return true;
}

std::string DiscoveryUsage() {
    return "Gateway discovery (answers on 127.0.0.1 only, beside the link above):\n"
           "  --discovery PORT          answer discovery requests on this UDP port (0 picks one;\n"
           "                            the port is printed as \"discovery 127.0.0.1:PORT\")\n"
           "  --discovery-type XY       two-character device type (default X5)\n"
           "  --discovery-version M.N   major.minor version (default 6.11)\n"
           "  --discovery-serial HEX8   serial number, 4 bytes (default 00-00-12-34)\n"
           "  --discovery-mac HEX12     MAC address, 6 bytes (default 02-00-00-00-12-34)\n"
           "  --discovery-malformed     answer with a 4-byte datagram and a wrong type instead\n";
}

std::array<std::uint8_t, 30> DiscoveryReply(const DiscoveryOptions& o) {
    std::array<std::uint8_t, 30> r{};
    r[3] = 0xF7;
    r[6] = o.minor;
    r[7] = o.major;
    r[8] = o.type[0];
    r[9] = o.type[1];
    for (std::size_t k = 0; k < 4; ++k) r[20 + k] = o.serial[k];
    for (std::size_t k = 0; k < 6; ++k) r[24 + k] = o.mac[k];
    return r;
}

DiscoveryResponder::~DiscoveryResponder() {
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
    if (fd_ >= 0) ::close(fd_);
}

bool DiscoveryResponder::Open(std::string& error) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(options_.port < 0 ? 0 : options_.port));
    socklen_t len = sizeof a;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        error = "cannot bind the discovery port on 127.0.0.1";
        return false;
    }
    port_ = ntohs(a.sin_port);
    worker_ = std::jthread([this](const std::stop_token& token) {
        std::uint8_t buf[64];
        const auto reply = DiscoveryReply(options_);
        const std::uint8_t shortReply[4] = {0, 0, 0, 0xF7};
        auto wrong = reply;
        wrong[3] = 0x33;
        while (!token.stop_requested()) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            const auto n =
                ::recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n != 4 || buf[0] != 0 || buf[1] != 0 || buf[2] != 0 || buf[3] != 0xF6) continue;
            const auto to = reinterpret_cast<const sockaddr*>(&from);
            if (options_.malformed) {
                ::sendto(fd_, shortReply, sizeof shortReply, 0, to, fromLen);
                ::sendto(fd_, wrong.data(), wrong.size(), 0, to, fromLen);
            } else {
                ::sendto(fd_, reply.data(), reply.size(), 0, to, fromLen);
            }
        }
    });
    return true;
}

}  // namespace pelor::sim
