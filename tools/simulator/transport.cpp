#include "simulator/transport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelor::sim {

int TerminalSpeed(int fd);

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    return a;
}

std::string ReadAvailable(int fd) {
    std::string out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
        if (out.size() > 65536) break;
    }
    return out;
}

class PtyTransport : public Transport {
public:
    PtyTransport(int master, int slave, std::string path, std::string link)
        : master_(master), slave_(slave), path_(std::move(path)), link_(std::move(link)) {}
    ~PtyTransport() override { CloseLink(); }
    bool Send(std::string_view bytes) override {
        if (master_ < 0) return false;
        // Nobody reading the terminal must not stall the unit: what does not fit is lost,
        // as on a real line.
        const ssize_t n = write(master_, bytes.data(), bytes.size());
        return n > 0;
    }
    std::string Receive(int ms) override {
        if (master_ < 0) return {};
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0 || (p.revents & POLLIN) == 0) return {};
        return ReadAvailable(master_);
    }
    void CloseLink() override {
        if (!link_.empty()) unlink(link_.c_str());
        link_.clear();
        if (master_ >= 0) close(master_);
        if (slave_ >= 0) close(slave_);
        master_ = slave_ = -1;
    }
    bool Alive() const override { return master_ >= 0; }
    std::string Endpoint() const override { return path_; }
    // The terminal's settings are the slave's, whichever side asks.
    int LineSpeed() const override { return master_ < 0 ? 0 : TerminalSpeed(master_); }

private:
    int master_;
    int slave_;
    std::string path_;
    std::string link_;
};

class TcpTransport : public Transport {
public:
    TcpTransport(int listener, int port) : listener_(listener), port_(port) {}
    ~TcpTransport() override {
        CloseLink();
        close(listener_);
    }
    bool Send(std::string_view bytes) override {
        Accept();
        bool any = false;
        for (auto it = clients_.begin(); it != clients_.end();) {
            const ssize_t n = send(*it, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                close(*it);
                it = clients_.erase(it);
                continue;
            }
            any = any || n > 0;
            ++it;
        }
        return any;
    }
    std::string Receive(int ms) override {
        Accept();
        std::vector<pollfd> polls;
        polls.push_back({listener_, POLLIN, 0});
        for (const int c : clients_) polls.push_back({c, POLLIN, 0});
        if (poll(polls.data(), polls.size(), ms) <= 0) return {};
        std::string out;
        for (std::size_t i = 1; i < polls.size(); ++i) {
            if ((polls[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
            char buffer[4096];
            const ssize_t n = recv(polls[i].fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n > 0) {
                out.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
                Drop(polls[i].fd);
            }
        }
        return out;
    }
    void CloseLink() override {
        for (const int c : clients_) close(c);
        clients_.clear();
    }
    bool Alive() const override { return true; }
    std::string Endpoint() const override { return "127.0.0.1:" + std::to_string(port_); }
    int Port() const override { return port_; }

private:
    void Accept() {
        for (;;) {
            const int c = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (c < 0) return;
            clients_.push_back(c);
        }
    }
    void Drop(int fd) {
        for (auto it = clients_.begin(); it != clients_.end(); ++it) {
            if (*it == fd) {
                close(fd);
                clients_.erase(it);
                return;
            }
        }
    }

    int listener_;
    int port_;
    std::vector<int> clients_;
};

class UdpTransport : public Transport {
public:
    UdpTransport(int socket, int port, std::size_t datagramSize)
        : socket_(socket), target_(Loopback(port)), port_(port), datagramSize_(datagramSize) {}
    ~UdpTransport() override { close(socket_); }
    bool Send(std::string_view bytes) override {
        if (closed_) return false;
        return sendto(socket_, bytes.data(), bytes.size(), MSG_DONTWAIT,
                      reinterpret_cast<const sockaddr*>(&target_), sizeof target_) > 0;
    }
    std::string Receive(int ms) override {
        pollfd p{socket_, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0) return {};
        std::string out;
        char buffer[2048];
        for (;;) {
            sockaddr_in from{};
            socklen_t size = sizeof from;
            const ssize_t n = recvfrom(socket_, buffer, sizeof buffer, MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&from), &size);
            if (n < 0) break;
            // Only answers from this machine count.
            if ((ntohl(from.sin_addr.s_addr) >> 24) != 127) continue;
            out.append(buffer, static_cast<std::size_t>(n));
        }
        return closed_ ? std::string() : out;
    }
    void CloseLink() override { closed_ = true; }
    bool Alive() const override { return !closed_; }
    std::string Endpoint() const override { return "127.0.0.1:" + std::to_string(port_); }
    int Port() const override { return port_; }
    std::size_t MaxUnit() const override { return datagramSize_; }

private:
    int socket_;
    sockaddr_in target_;
    int port_;
    std::size_t datagramSize_;
    bool closed_ = false;
};

}  // namespace

std::unique_ptr<Transport> OpenPtyTransport(const std::string& linkPath, std::string& error) {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    // Raw both ways: no echo, no line editing, no newline translation.
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    if (!linkPath.empty()) {
        unlink(linkPath.c_str());
        if (symlink(name, linkPath.c_str()) != 0) {
            error = "cannot create the link " + linkPath + ": " + std::strerror(errno);
            close(master);
            close(slave);
            return nullptr;
        }
    }
    return std::make_unique<PtyTransport>(master, slave, name, linkPath);
}

std::unique_ptr<Transport> OpenTcpTransport(int port, std::string& error) {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        error = std::string("cannot create a socket: ") + std::strerror(errno);
        return nullptr;
    }
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address = Loopback(port);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 4) != 0) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        close(listener);
        return nullptr;
    }
    socklen_t size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    return std::make_unique<TcpTransport>(listener, ntohs(address.sin_port));
}

std::unique_ptr<Transport> OpenUdpTransport(int port, std::size_t datagramSize,
                                            std::string& error) {
    if (port <= 0 || port > 65535) {
        error = "a UDP port from 1 to 65535 is needed";
        return nullptr;
    }
    const int s = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in own = Loopback(0);
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&own), sizeof own) != 0) {
        error = std::string("cannot open a UDP socket on 127.0.0.1: ") + std::strerror(errno);
        if (s >= 0) close(s);
        return nullptr;
    }
    return std::make_unique<UdpTransport>(s, port, datagramSize);
}

}  // namespace pelor::sim
