// The connection page's network tools against loopback peers only.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "links/discovery_reply.h"
#include "links/network_tools.h"
#include "loopback.h"

using namespace pelor::links;
using namespace std::chrono_literals;

namespace {

// A UDP socket on 127.0.0.1 with a port the system picked.
struct LoopbackUdp {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    std::uint16_t port = 0;
    explicit LoopbackUdp(const char* address = "127.0.0.1") {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        ::inet_pton(AF_INET, address, &a.sin_addr);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~LoopbackUdp() { ::close(fd); }
};

// Answers each request that reaches `sock` with every reply in `replies`, until stopped.
// A second gateway on another loopback address answers through `other` when it is set.
struct Responder {
    LoopbackUdp sock;
    std::vector<std::vector<std::uint8_t>> replies;
    LoopbackUdp* other = nullptr;
    std::vector<std::uint8_t> otherReply;
    std::atomic<bool> stop{false};
    std::thread worker;
    void Start() {
        worker = std::thread([this] {
            std::uint8_t buf[64];
            while (!stop) {
                pollfd p{sock.fd, POLLIN, 0};
                if (::poll(&p, 1, 20) <= 0) continue;
                sockaddr_in from{};
                socklen_t len = sizeof from;
                const auto n = ::recvfrom(sock.fd, buf, sizeof buf, 0,
                                          reinterpret_cast<sockaddr*>(&from), &len);
                if (n != 4 || buf[3] != 0xF6) continue;
                for (const auto& r : replies) {
                    ::sendto(sock.fd, r.data(), r.size(), 0, reinterpret_cast<sockaddr*>(&from),
                             len);
                }
                if (other != nullptr) {
                    ::sendto(other->fd, otherReply.data(), otherReply.size(), 0,
                             reinterpret_cast<sockaddr*>(&from), len);
                }
            }
        });
    }
    ~Responder() {
        stop = true;
        if (worker.joinable()) worker.join();
    }
};

// A target on loopback; every scan in these tests is aimed through here.
DiscoveryTarget Loopback(std::uint16_t port) {
    DiscoveryTarget t{"127.0.0.1", port};
    EXPECT_TRUE(IsLoopbackAddress(t.address));
    return t;
}

std::vector<std::string> Scan(const DiscoveryTarget& target, NetworkToolOptions o = {}) {
    EXPECT_TRUE(IsLoopbackAddress(target.address)) << target.address;
    std::vector<std::string> lines;
    if (o.scanWindow == 15000ms) o.scanWindow = 400ms;
    RunDiscoveryScan(
        target, [&](const std::string& l) { lines.push_back(l); }, o);
    return lines;
}

GatewayIdentity Gateway(std::uint8_t last) {
    GatewayIdentity g;
    g.type[0] = 'X';
    g.type[1] = '5';
    g.major = 6;
    g.minor = 11;
    g.serial[3] = last;
    g.mac[5] = last;
    return g;
}

}  // namespace

TEST(DiscoveryReply, ReadsEveryFieldOfTheTable) {
    std::vector<std::string> lines;
    const auto reply = BuildDiscoveryReply(Gateway(0xA5));
    ASSERT_EQ(DescribeDiscoveryReply(reply, "127.0.0.9", lines), ReplyKind::Gateway);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Type    : 58-35 (X5)", "Version : Major.Minor: 6.11",
                                        "Serial #: 00-00-00-a5", "MAC     : 02-00-00-00-00-a5",
                                        "IP Addr : 127.0.0.9"}));
}

TEST(DiscoveryReply, ShortWrongAndOddReplies) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        ReplyKind kind;
        std::string first;
    };
    const std::vector<Case> cases = {
        {{}, ReplyKind::Erroneous, "erroneous data."},
        {{0, 0, 0, 0xF7}, ReplyKind::Erroneous, "erroneous data."},
        {{0, 0, 0, 0xF6, 0}, ReplyKind::WrongType, "Wrong type buf[3]=f6"},
        {{0, 0, 0, 0x0A, 0}, ReplyKind::WrongType, "Wrong type buf[3]=a"},
        // A reply cut short after the type byte: missing fields read as 0.
        {{0, 0, 0, 0xF7, 0, 0, 2, 3, 'A'}, ReplyKind::Gateway, "Type    : 41-00 (A.)"},
        // Control bytes in the type are not put into the list as they are.
        {{0, 0, 0, 0xF7, 0, 0, 0, 0, '\n', 0xC3}, ReplyKind::Gateway, "Type    : 0a-c3 (..)"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        EXPECT_EQ(DescribeDiscoveryReply(c.bytes, "127.0.0.1", lines), c.kind);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), c.first);
        EXPECT_EQ(lines.size(), c.kind == ReplyKind::Gateway ? 5u : 1u);
    }
}

TEST(DiscoveryTarget, ParsesAddressAndPort) {
    const DiscoveryTarget def;
    EXPECT_EQ(def.address, "192.168.0.255");
    EXPECT_EQ(def.port, 30718);
    EXPECT_FALSE(IsLoopbackAddress(def.address));
    auto t = ParseDiscoveryTarget("127.0.0.1:4000");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->address, "127.0.0.1");
    EXPECT_EQ(t->port, 4000);
    t = ParseDiscoveryTarget("127.1.2.3");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->port, 30718);
    EXPECT_TRUE(IsLoopbackAddress(t->address));
    for (const char* bad : {"", "host", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:65536",
                            "127.0.0.1:12x", "300.1.1.1", ":80"}) {
        EXPECT_FALSE(ParseDiscoveryTarget(bad)) << bad;
    }
}

TEST(DiscoveryScan, TwoGatewaysGiveTwoBlocks) {
    // Loopback has no broadcast: the gateway on 127.0.0.1 takes the request and the one on
    // 127.0.0.2 answers it too, as two gateways on one subnet would.
    LoopbackUdp second("127.0.0.2");
    Responder a;
    a.replies = {BuildDiscoveryReply(Gateway(1))};
    a.other = &second;
    a.otherReply = BuildDiscoveryReply(Gateway(2));
    a.Start();
    std::vector<std::string> sent;
    NetworkToolOptions o;
    o.onSend = [&](const std::string& addr, std::uint16_t) { sent.push_back(addr); };
    const auto lines = Scan(Loopback(a.sock.port), o);
    ASSERT_EQ(sent, std::vector<std::string>{"127.0.0.1"});
    const std::vector<std::string> expected = {"Start Scan",
                                               "Type    : 58-35 (X5)",
                                               "Version : Major.Minor: 6.11",
                                               "Serial #: 00-00-00-01",
                                               "MAC     : 02-00-00-00-00-01",
                                               "IP Addr : 127.0.0.1",
                                               "Continue scan ...",
                                               " ",
                                               "Type    : 58-35 (X5)",
                                               "Version : Major.Minor: 6.11",
                                               "Serial #: 00-00-00-02",
                                               "MAC     : 02-00-00-00-00-02",
                                               "IP Addr : 127.0.0.2",
                                               "Continue scan ...",
                                               " ",
                                               "End Scan"};
    EXPECT_EQ(lines, expected);
}

TEST(DiscoveryScan, MalformedRepliesGiveTheirTexts) {
    Responder r;
    r.replies = {{0, 0, 0, 0xF7}, {0, 0, 0, 0x33, 0, 0}, BuildDiscoveryReply(Gateway(3))};
    r.Start();
    const auto lines = Scan(Loopback(r.sock.port));
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[1], "erroneous data.");
    EXPECT_EQ(lines[2], "Continue scan ...");
    EXPECT_EQ(lines[3], " ");
    // A wrong type is followed at once by the next reply, without "Continue scan ...".
    EXPECT_EQ(lines[4], "Wrong type buf[3]=33");
    EXPECT_EQ(lines[5], "Type    : 58-35 (X5)");
    EXPECT_EQ(lines.back(), "End Scan");
}

TEST(DiscoveryScan, NoAnswerEndsAfterTheWindowAndCancelEndsAtOnce) {
    LoopbackUdp silent;  // takes the request and never answers
    const auto t0 = std::chrono::steady_clock::now();
    auto lines = Scan(Loopback(silent.port));
    EXPECT_EQ(lines, (std::vector<std::string>{"Start Scan", "End Scan"}));
    EXPECT_GE(std::chrono::steady_clock::now() - t0, 350ms);

    // A cancel ends a 15-second scan at once.
    NetworkToolOptions o;
    o.scanWindow = 15000ms;
    std::atomic<bool> cancel{false};
    o.cancel = &cancel;
    std::thread stopper([&] {
        std::this_thread::sleep_for(150ms);
        cancel = true;
    });
    const auto t1 = std::chrono::steady_clock::now();
    lines = Scan(Loopback(silent.port), o);
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - t1, 2s);
    EXPECT_EQ(lines, (std::vector<std::string>{"Start Scan", "End Scan"}));
}

TEST(DiscoveryScan, AReplyAfterTheWindowEndsTheScan) {
    // The scan's clock says 20 s have passed once the reply is in: no "Continue scan ...".
    Responder r;
    r.replies = {BuildDiscoveryReply(Gateway(4))};
    r.Start();
    NetworkToolOptions o;
    o.scanWindow = 15000ms;
    const auto base = std::chrono::steady_clock::now();
    int calls = 0;
    o.now = [&] { return base + (calls++ < 2 ? 0s : 20s); };
    const auto lines = Scan(Loopback(r.sock.port), o);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "IP Addr : 127.0.0.1");
    EXPECT_EQ(lines[6], "End Scan");
}

TEST(TestConnection, ListeningClosedAndBadAddresses) {
    // A listening port and one that was just closed, both on loopback.
    pelor::testing::LoopbackListener listener(4);
    ASSERT_TRUE(listener.Ok());
    const std::uint16_t open = static_cast<std::uint16_t>(listener.Port());
    const std::uint16_t closed = static_cast<std::uint16_t>(pelor::testing::FreeTcpPort());

    struct Case {
        std::string address;
        int port;
        std::vector<std::string> lines;
    };
    // A port past 16 bits is refused, not cut to the listening port it would alias.
    const int aliasOfOpen = open + 65536;
    const std::vector<Case> cases = {
        {"127.0.0.1",
         open,
         {"Initialize  success", "Socket created", "Valid IP address",
          "Connection to host successful", "Socket closed"}},
        {"localhost",
         open,
         {"Initialize  success", "Socket created", "Valid Hostname",
          "Connection to host successful", "Socket closed"}},
        {"127.0.0.1",
         closed,
         {"Initialize  success", "Socket created", "Valid IP address",
          "Failed Connection attempt"}},
        {"127.0.0.300", open, {"Initialize  success", "Socket created", "Invalid IP address"}},
        {"no-such-host.invalid",
         open,
         {"Initialize  success", "Socket created", "Invalid Hostname"}},
        {"", open, {"Initialize  success", "Socket created", "Invalid Hostname"}},
        {"127.0.0.1",
         aliasOfOpen,
         {"Invalid port " + std::to_string(aliasOfOpen) + " (0 to 65535)"}},
        {"127.0.0.1", 70000, {"Invalid port 70000 (0 to 65535)"}},
        {"127.0.0.1", -1, {"Invalid port -1 (0 to 65535)"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        std::vector<std::string> sentTo;
        NetworkToolOptions o;
        o.onSend = [&](const std::string& addr, std::uint16_t) {
            EXPECT_TRUE(IsLoopbackAddress(addr)) << addr;
            sentTo.push_back(addr);
        };
        RunTestConnection(
            c.address, c.port, [&](const std::string& l) { lines.push_back(l); }, o);
        EXPECT_EQ(lines, c.lines) << c.address;
    }
}
