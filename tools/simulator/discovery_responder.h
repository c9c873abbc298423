#pragma once
// A network gateway's discovery answer, on 127.0.0.1 only: every 4-byte request
// 00 00 00 F6 that reaches its port is answered with a 30-byte reply (type byte 3 = F7,
// minor and major version at 6 and 7, device type at 8..9, serial at 20..23, MAC at 24..29).
#include <array>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace pelor::sim {

struct DiscoveryOptions {
    int port = -1;  // -1: no responder; 0: any free port
    std::array<std::uint8_t, 2> type = {'X', '5'};
    std::uint8_t major = 6;
    std::uint8_t minor = 11;
    std::array<std::uint8_t, 4> serial = {0x00, 0x00, 0x12, 0x34};
    std::array<std::uint8_t, 6> mac = {0x02, 0x00, 0x00, 0x00, 0x12, 0x34};
    bool malformed = false;  // answer with 4 bytes and then a wrong type instead
};

// Reads one --discovery... option at args[i] (moving i past its value). False when args[i]
// is not one; `error` is set when it is one with a bad value.
bool ParseDiscoveryOption(const std::vector<std::string>& args, std::size_t& i, DiscoveryOptions& o,
                          std::string& error);
std::string DiscoveryUsage();

std::array<std::uint8_t, 30> DiscoveryReply(const DiscoveryOptions& o);

class DiscoveryResponder {
public:
    explicit DiscoveryResponder(DiscoveryOptions options) : options_(options) {}
    ~DiscoveryResponder();
    bool Open(std::string& error);  // binds 127.0.0.1 and starts answering
    int Port() const { return port_; }

private:
    DiscoveryOptions options_;
    int fd_ = -1;
    int port_ = 0;
    std::jthread worker_;
};

}  // namespace pelor::sim
