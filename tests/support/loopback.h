#pragma once
// Sockets on 127.0.0.1 for tests: a port number nobody uses right now, and a TCP listener at a
// port the system picks. Nothing here touches any other address.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace pelor::testing {

// A loopback port free right now: a socket of `type` (SOCK_DGRAM or SOCK_STREAM) is bound once
// to learn a number the system hands out, then closed.
inline int FreeLoopbackPort(int type) {
    const int s = ::socket(AF_INET, type, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    socklen_t n = sizeof a;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n);
    ::close(s);
    return ntohs(a.sin_port);
}

inline int FreeUdpPort() {
    return FreeLoopbackPort(SOCK_DGRAM);
}
// A TCP port with nobody listening on it.
inline int FreeTcpPort() {
    return FreeLoopbackPort(SOCK_STREAM);
}

// A TCP socket listening on 127.0.0.1 at a port the system picks; closed when destroyed.
// Ok() is false when it could not be bound or put to listen.
class LoopbackListener {
public:
    explicit LoopbackListener(int backlog = 4) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ok_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
              ::listen(fd_, backlog) == 0;
        socklen_t n = sizeof a;
        if (ok_) ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n);
        port_ = ok_ ? ntohs(a.sin_port) : 0;
    }
    ~LoopbackListener() {
        if (fd_ >= 0) ::close(fd_);
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    bool Ok() const { return ok_; }
    int Fd() const { return fd_; }
    int Port() const { return port_; }

private:
    int fd_ = -1;
    bool ok_ = false;
    int port_ = 0;
};

}  // namespace pelor::testing
