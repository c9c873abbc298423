#pragma once
// Where the simulated unit talks: a pseudo-terminal, a TCP port of 127.0.0.1 or UDP
// datagrams to a port of 127.0.0.1. Nothing here ever reaches another machine.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::sim {

class Transport {
public:
    virtual ~Transport() = default;
    // Sends `bytes` as one unit (one datagram on UDP); false when nothing could go out.
    virtual bool Send(std::string_view bytes) = 0;
    // Waits up to `ms` for input and returns what arrived (empty when nothing).
    virtual std::string Receive(int ms) = 0;
    // Closes the link the way a failing unit would: the terminal goes away, connections drop.
    virtual void CloseLink() = 0;
    // False once the link is gone for good (a closed pseudo-terminal, a closed UDP link).
    virtual bool Alive() const = 0;
    // "the pseudo-terminal path", "127.0.0.1:port".
    virtual std::string Endpoint() const = 0;
    virtual int Port() const { return 0; }
    // Largest unit Send takes whole (datagram transports), 0 for streams.
    virtual std::size_t MaxUnit() const { return 0; }
    // The speed the other side set the line to (pseudo-terminal), 0 when not known.
    virtual int LineSpeed() const { return 0; }
};

// Each returns null with `error` set on failure.
std::unique_ptr<Transport> OpenPtyTransport(const std::string& linkPath, std::string& error);
// Listens on 127.0.0.1:`port` (0: any free port).
std::unique_ptr<Transport> OpenTcpTransport(int port, std::string& error);
// Sends to 127.0.0.1:`port` from a socket of its own on 127.0.0.1; answers come back there.
std::unique_ptr<Transport> OpenUdpTransport(int port, std::size_t datagramSize, std::string& error);

}  // namespace pelor::sim
