#pragma once
// The connection page's two network tools: a test connection to the unit's address and
// port, and a scan for gateways. Both report line by line through a callback and can be
// cancelled from another thread (the window is closing).
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "links/discovery_reply.h"

namespace pelor::links {

using LineSink = std::function<void(const std::string&)>;

struct NetworkToolOptions {
    // Seconds a scan listens for replies after its request.
    std::chrono::milliseconds scanWindow{15000};
    // How long a test connection waits for the peer.
    std::chrono::milliseconds connectTimeout{5000};
    // The clock the scan measures its window with.
    std::function<std::chrono::steady_clock::time_point()> now = [] {
        return std::chrono::steady_clock::now();
    };
    // Set from any thread to end a tool early; it then ends with its closing line.
    const std::atomic<bool>* cancel = nullptr;
    // Told the address and port of everything a tool sends to, before it sends.
    std::function<void(const std::string& address, std::uint16_t port)> onSend;
};

// Opens a TCP connection to `address` (dotted when it starts with a digit, a host name
// otherwise) and `port`, closes it again and reports each step. A port outside 0..65535 is
// refused with "Invalid port %d (0 to 65535)" before anything else.
void RunTestConnection(std::string_view address, int port, const LineSink& sink,
                       const NetworkToolOptions& options = {});

// Sends the discovery request to `target` and lists every reply until the window ends.
void RunDiscoveryScan(const DiscoveryTarget& target, const LineSink& sink,
                      const NetworkToolOptions& options = {});

}  // namespace pelor::links
