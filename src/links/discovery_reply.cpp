#include "links/discovery_reply.h"

#include <arpa/inet.h>

#include <charconv>
#include <cstdio>

namespace pelor::links {

namespace {

std::uint8_t At(std::span<const std::uint8_t> b, std::size_t i) {
    return i < b.size() ? b[i] : 0;
}

// A byte shown as a character: printable ASCII as it is, anything else as '.', so that a
// reply never puts control bytes or half a UTF-8 sequence into the list.
char Shown(std::uint8_t c) {
    return c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.';
}

bool IsDotted(std::string_view text) {
    if (text.empty() || text.size() > 15) return false;
    const std::string s(text);
    in_addr a{};
    return inet_pton(AF_INET, s.c_str(), &a) == 1;
}

}  // namespace

std::optional<DiscoveryTarget> ParseDiscoveryTarget(std::string_view text) {
    DiscoveryTarget t;
    std::string_view addr = text;
    const auto colon = text.find(':');
    if (colon != std::string_view::npos) {
        addr = text.substr(0, colon);
        const std::string_view port = text.substr(colon + 1);
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (port.empty() || ec != std::errc{} || end != port.data() + port.size() || value == 0 ||
            value > 65535) {
            return std::nullopt;
        }
        t.port = static_cast<std::uint16_t>(value);
    }
    if (!IsDotted(addr)) return std::nullopt;
    t.address = std::string(addr);
    return t;
}

bool IsLoopbackAddress(std::string_view dotted) {
    if (!IsDotted(dotted)) return false;
    const std::string s(dotted);
    in_addr a{};
    inet_pton(AF_INET, s.c_str(), &a);
    return (ntohl(a.s_addr) >> 24) == 127;
}

ReplyKind DescribeDiscoveryReply(std::span<const std::uint8_t> b, std::string_view sender,
                                 std::vector<std::string>& out) {
    char line[96];
    if (b.size() <= 4) {
        out.emplace_back("erroneous data.");
        return ReplyKind::Erroneous;
    }
    if (b[3] != kDiscoveryReplyType) {
        std::snprintf(line, sizeof line, "Wrong type buf[3]=%x", b[3]);
        out.emplace_back(line);
        return ReplyKind::WrongType;
    }
    std::snprintf(line, sizeof line, "Type    : %02x-%02x (%c%c)", At(b, 8), At(b, 9),
                  Shown(At(b, 8)), Shown(At(b, 9)));
    out.emplace_back(line);
    std::snprintf(line, sizeof line, "Version : Major.Minor: %d.%d", At(b, 7), At(b, 6));
    out.emplace_back(line);
    std::snprintf(line, sizeof line, "Serial #: %02x-%02x-%02x-%02x", At(b, 20), At(b, 21),
                  At(b, 22), At(b, 23));
    out.emplace_back(line);
    std::snprintf(line, sizeof line, "MAC     : %02x-%02x-%02x-%02x-%02x-%02x", At(b, 24),
                  At(b, 25), At(b, 26), At(b, 27), At(b, 28), At(b, 29));
    out.emplace_back(line);
    out.emplace_back("IP Addr : " + std::string(sender));
    return ReplyKind::Gateway;
}

std::vector<std::uint8_t> BuildDiscoveryReply(const GatewayIdentity& id) {
    std::vector<std::uint8_t> r(30, 0);
    r[3] = kDiscoveryReplyType;
    r[6] = id.minor;
    r[7] = id.major;
    r[8] = id.type[0];
    r[9] = id.type[1];
    for (int i = 0; i < 4; ++i) r[20 + i] = id.serial[i];
    for (int i = 0; i < 6; ++i) r[24 + i] = id.mac[i];
    return r;
}

}  // namespace pelor::links
