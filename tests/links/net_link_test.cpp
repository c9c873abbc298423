#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link_fixture.h"
#include "links/net_link.h"
#include "loopback.h"

namespace {

using namespace pelor;
using namespace pelor::links;
using namespace pelor::links::testing;
using namespace std::chrono_literals;

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// A loopback TCP server that accepts one client.
class LoopbackServer {
public:
    LoopbackServer() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        listen(listener_, 4);
        socklen_t n = sizeof a;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &n);
        port_ = ntohs(a.sin_port);
    }
    ~LoopbackServer() {
        CloseClient();
        close(listener_);
    }
    int Port() const { return port_; }
    void Accept() { client_ = accept(listener_, nullptr, nullptr); }
    void Send(std::string_view s) const { send(client_, s.data(), s.size(), MSG_NOSIGNAL); }
    std::string Receive(std::size_t n) const {
        std::string out(n, '\0');
        timeval t{2, 0};
        setsockopt(client_, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
        const ssize_t got = recv(client_, out.data(), n, MSG_WAITALL);
        out.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return out;
    }
    void CloseClient() {
        if (client_ >= 0) close(client_);
        client_ = -1;
    }

private:
    int listener_ = -1;
    int client_ = -1;
    int port_ = 0;
};

// A UDP peer on loopback that sends datagrams to a port and receives replies.
class UdpPeer {
public:
    UdpPeer() {
        socket_ = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(bind(socket_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        timeval t{2, 0};
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
    }
    ~UdpPeer() { close(socket_); }
    void SendTo(int port, std::string_view s) const {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        sendto(socket_, s.data(), s.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    std::string Receive() const {
        char buffer[2048];
        const ssize_t n = recv(socket_, buffer, sizeof buffer, 0);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }

private:
    int socket_ = -1;
};

TEST(NetReceive, StreamReturnsWhatCameWhenTheSenderPauses) {
    LoopbackServer server;
    sockaddr_in address{};
    const int fd = ConnectSocket("127.0.0.1", server.Port(), kStreamSocket, address);
    ASSERT_GE(fd, 0);
    server.Accept();
    server.Send("$IIXDR");
    std::array<std::uint8_t, 32> buffer{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(NetReceive(fd, buffer, 1, false, nullptr), 6);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 900ms);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.data()), 6), "$IIXDR");
    server.CloseClient();
    EXPECT_EQ(NetReceive(fd, buffer, 1, false, nullptr), kNetReceiveFailed);
    close(fd);
}

TEST(NetReceive, DatagramIsCutToTheBufferAndNamesItsSender) {
    const int port = pelor::testing::FreeUdpPort();
    sockaddr_in address{};
    const int fd = ConnectSocket("127.0.0.1", port, kDatagramSocket, address);
    ASSERT_GE(fd, 0);
    UdpPeer peer;
    peer.SendTo(port, std::string(700, 'x'));
    std::array<std::uint8_t, 500> buffer{};
    sockaddr_in from{};
    EXPECT_EQ(NetReceive(fd, buffer, 2, true, &from), 500);
    EXPECT_EQ(from.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(NetReceive(fd, buffer, 0, true, &from), 0);  // nothing more: time-out
    close(fd);
}

TEST(ConnectSocket, FailuresCloseAndReportMinusOne) {
    sockaddr_in address{};
    struct Case {
        const char* host;
        int kind;
        const char* legend;
    } const cases[] = {
        {"pelor-gateway.invalid", kStreamSocket, "unresolvable name"},
        {"1.2.3.4.5", kStreamSocket, "bad dotted address"},
        {"", kStreamSocket, "empty host"},
        {"pelor-gateway.invalid", kDatagramSocket, "unresolvable bind name"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConnectSocket(c.host, 1, c.kind, address), -1) << c.legend;
    // A refused connection on loopback.
    const int port = pelor::testing::FreeUdpPort();
    EXPECT_EQ(ConnectSocket("127.0.0.1", port, kStreamSocket, address), -1);
    // A host name that resolves.
    LoopbackServer server;
    const int fd = ConnectSocket("localhost", server.Port(), kStreamSocket, address);
    EXPECT_GE(fd, 0);
    if (fd >= 0) close(fd);
}

struct NetFixture : ::testing::Test {
    SinkFixture sink;
    core::ReaderThread slot;
    NetLink link{sink.prompt, sink.sinks};
};

TEST_F(NetFixture, TcpTextReachesThePassAndCommandsReachTheGateway) {
    LoopbackServer server;
    ASSERT_EQ(link.OpenNetLink(1, "127.0.0.1", server.Port(), 500, &slot), 0);
    server.Accept();
    server.Send("$PKZLS,V,2.14,*00\r\n");
    ASSERT_TRUE(
        sink.collected.WaitFor([](auto& t, auto&) { return t.find("2.14") != t.npos; }, 5s));
    EXPECT_EQ(sink.collected.Frames(), "");
    EXPECT_EQ(link.NetWrite(Bytes("$PKZLC,N\r"), false), 0);
    EXPECT_EQ(server.Receive(9), "$PKZLC,N\r");
    link.CloseNetLink();
    EXPECT_FALSE(link.SocketValid());
    EXPECT_TRUE(sink.prompt.MessageTexts().empty());
}

TEST_F(NetFixture, TcpFramesGoToTheFramePass) {
    LoopbackServer server;
    ASSERT_EQ(link.OpenNetLink(4, "127.0.0.1", server.Port(), 10, &slot), 0);
    server.Accept();
    server.Send(std::string("\x10\x02\x93\x13\x02\x12\xF1\x01\xFF\x03", 10));
    ASSERT_TRUE(sink.collected.WaitFor([](auto&, auto& f) { return f.size() == 10; }, 5s));
    EXPECT_EQ(sink.collected.Text(), "");
}

TEST_F(NetFixture, PeerClosingEndsTheReader) {
    LoopbackServer server;
    ASSERT_EQ(link.OpenNetLink(1, "127.0.0.1", server.Port(), 500, &slot), 0);
    server.Accept();
    server.CloseClient();
    std::this_thread::sleep_for(800ms);
    EXPECT_TRUE(slot.Stop(0ms)) << "the reader should have ended on its own";
    link.CloseNetLink();
}

TEST_F(NetFixture, UdpRepliesGoToTheLastSender) {
    const int port = pelor::testing::FreeUdpPort();
    ASSERT_EQ(link.OpenNetLink(6, "127.0.0.1", port, 500, &slot), 0);
    UdpPeer first;
    UdpPeer second;
    first.SendTo(port, "$PKZLS,D,one*00\r\n");
    ASSERT_TRUE(sink.collected.WaitFor([](auto& t, auto&) { return t.find("one") != t.npos; }, 5s));
    second.SendTo(port, "$PKZLS,D,two*00\r\n");
    ASSERT_TRUE(sink.collected.WaitFor([](auto& t, auto&) { return t.find("two") != t.npos; }, 5s));
    EXPECT_EQ(link.NetWrite(Bytes("$PKZLC,N\r"), false), 0);
    EXPECT_EQ(second.Receive(), "$PKZLC,N\r");
}

TEST_F(NetFixture, UdpDatagramLongerThanTheBufferIsCut) {
    const int port = pelor::testing::FreeUdpPort();
    ASSERT_EQ(link.OpenNetLink(7, "127.0.0.1", port, 100, &slot), 0);
    UdpPeer peer;
    peer.SendTo(port, std::string(300, 'f'));
    ASSERT_TRUE(sink.collected.WaitFor([](auto&, auto& f) { return !f.empty(); }, 5s));
    EXPECT_EQ(sink.collected.Frames(), std::string(100, 'f'));
}

TEST_F(NetFixture, ReconnectLeavesOneReaderAndUnresolvableHostFails) {
    LoopbackServer server;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(link.OpenNetLink(1, "127.0.0.1", server.Port(), 500, &slot), 0);
        server.Accept();
        EXPECT_TRUE(slot.Running());
        link.CloseNetLink();
        EXPECT_FALSE(slot.Running());
        server.CloseClient();
    }
    EXPECT_EQ(link.OpenNetLink(1, "pelor-gateway.invalid", 10001, 500, &slot), -1);
    EXPECT_FALSE(slot.Running());
    EXPECT_TRUE(sink.prompt.MessageTexts().empty());
}

TEST_F(NetFixture, CommandReplyWithinThreeSeconds) {
    LoopbackServer server;
    ASSERT_EQ(link.OpenNetLink(1, "127.0.0.1", server.Port(), 3000, &slot), 0);
    server.Accept();
    std::thread gateway([&] {
        if (server.Receive(9) == "$PKZLC,E\r") server.Send("ERASED 00000000\r");
    });
    EXPECT_EQ(link.NetWrite(Bytes("$PKZLC,E\r"), true), 0);
    gateway.join();
    EXPECT_EQ(std::string(link.UnitReply().data()), "ERASED 00000000\r");
}

}  // namespace
