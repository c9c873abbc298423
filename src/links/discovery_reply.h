#pragma once
// Gateway discovery on the local network: the request a scan sends, the target it goes to,
// and the reading of one reply datagram into the lines the network list shows.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::links {

// The 4-byte request every gateway answers.
inline constexpr std::uint8_t kDiscoveryRequest[4] = {0x00, 0x00, 0x00, 0xF6};
inline constexpr std::uint8_t kDiscoveryReplyType = 0xF7;
inline constexpr std::size_t kDiscoveryReplyMax = 2048;  // bytes received per datagram

// Where a scan sends its request. The default is the installers' usual subnet broadcast;
// tests and other networks set their own.
struct DiscoveryTarget {
    std::string address = "192.168.0.255";
    std::uint16_t port = 30718;
};

// "ADDR" or "ADDR:PORT" with a dotted IPv4 address and a port 1..65535 (the port defaults
// to the discovery port). Nothing when the text is not such an address.
std::optional<DiscoveryTarget> ParseDiscoveryTarget(std::string_view text);

// True for dotted addresses inside 127.0.0.0/8.
bool IsLoopbackAddress(std::string_view dotted);

enum class ReplyKind { Gateway, Erroneous, WrongType };

// Reads one reply. Gateway: the five lines of the gateway's block, the last naming the
// sender's address. Erroneous (4 bytes or fewer): "erroneous data.". WrongType: one line
// naming byte 3. Bytes past the end of a short reply read as 0. Lines are appended to `out`.
ReplyKind DescribeDiscoveryReply(std::span<const std::uint8_t> reply, std::string_view sender,
                                 std::vector<std::string>& out);

// Builds a reply as a gateway sends it (for the simulator and tests): 30 bytes.
struct GatewayIdentity {
    std::uint8_t type[2] = {'X', 'P'};
    std::uint8_t major = 1;
    std::uint8_t minor = 0;
    std::uint8_t serial[4] = {0, 0, 0, 1};
    std::uint8_t mac[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
};
std::vector<std::uint8_t> BuildDiscoveryReply(const GatewayIdentity& id);

}  // namespace pelor::links
