#pragma once
// The network link: TCP to a gateway (types 1 and 4) or a bound UDP port (types 6 and 7),
// carrying text sentences or binary NMEA 2000 frames, with its reader and the command write.
#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>

#include "core/prompt.h"
#include "core/reader_thread.h"
#include "links/reader_pass.h"
#include "links/serial_link.h"

namespace pelor::links {

inline constexpr int kStreamSocket = 1;
inline constexpr int kDatagramSocket = 2;
inline constexpr int kNetReceiveSeconds = 3;
inline constexpr std::size_t kNetReadBuffer = 4000;

// NetReceive results besides a byte count.
inline constexpr int kNetSelectFailed = -1;
inline constexpr int kNetException = -2;
inline constexpr int kNetReceiveFailed = -3;

// Opens an IPv4 socket of `kind` for `host` (dotted address when it starts with a digit, else a
// host name, first address) and `port`. A stream socket is connected and stays blocking; a
// datagram socket is bound to the address and made non-blocking. Returns the descriptor, or
// -1 when any step fails (the socket is closed). `address` receives the address used.
int ConnectSocket(const std::string& host, int port, int kind, sockaddr_in& address);

// Sends all of `bytes` (to `address` on a datagram socket). The count sent, or -1.
int NetSend(int socket, std::span<const std::uint8_t> bytes, const sockaddr_in* address);

// Fills `buffer` from `socket`, waiting at most `timeoutSeconds` for each arrival: returns the
// count received when the buffer is full or the wait runs out (0 when nothing came), -1 when
// the wait fails, -2 on a socket exception, -3 when the receive fails or a stream's peer has
// closed. A datagram socket returns after one datagram, cut to the buffer (its full size
// reported as the buffer size), and records its sender in `address`.
int NetReceive(int socket, std::span<std::uint8_t> buffer, int timeoutSeconds, bool datagram,
               sockaddr_in* address);

// NetReceive with the wait in milliseconds, looked at in short slices: when `yield` returns
// true the call ends early with what it has.
int NetReceiveYielding(int socket, std::span<std::uint8_t> buffer, int timeoutMs, bool datagram,
                       sockaddr_in* address, const std::function<bool()>& yield);

class NetLink {
public:
    NetLink(core::Prompt& prompt, ReaderSinks& sinks);
    ~NetLink();
    NetLink(const NetLink&) = delete;
    NetLink& operator=(const NetLink&) = delete;

    // Opens the socket for `connectionType` (1, 4: TCP to host:port; 6, 7: UDP bound to
    // host:port) and starts the reader on `readerSlot`. 0 on success, -1 on failure; socket
    // failures show nothing (the link manager reports them).
    int OpenNetLink(int connectionType, const std::string& host, int port, int bufferSize,
                    core::ReaderThread* readerSlot);
    // Shuts the socket down both ways, ends the reader (joined) and closes the socket.
    void CloseNetLink();
    bool SocketValid() const { return socket_.load() >= 0; }

    // The command write: sends `bytes` to the gateway (UDP: to the last sender); with
    // `expectReply` waits up to 3 seconds for 16 bytes into UnitReply. Returns 0 or -1.
    int NetWrite(std::span<const std::uint8_t> bytes, bool expectReply);
    const UnitReplyText& UnitReply() const { return unitReply_; }

private:
    class Source;
    void RunReader(const std::stop_token& token, const ConnectionKind& kind, int bufferSize);
    sockaddr_in Peer() const;
    // Bytes the stream socket holds for reading now.
    std::size_t BytesWaiting() const;
    // Whether a datagram waits on the socket now.
    bool DatagramWaiting() const;

    core::Prompt& prompt_;
    ReaderSinks& sinks_;
    std::atomic<int> socket_{-1};
    std::atomic<bool> datagram_{false};
    // The reader receives under this lock; a command waiting for its reply takes it, so that
    // the reply cannot end up in the reader's pass.
    std::mutex receiveMutex_;
    std::atomic<int> repliesAwaited_{0};
    mutable std::mutex peerMutex_;
    sockaddr_in peer_{};
    core::ReaderThread* reader_ = nullptr;
    UnitReplyText unitReply_{};
};

}  // namespace pelor::links
