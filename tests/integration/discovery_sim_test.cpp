// The gateway scan against the simulator's discovery responders on loopback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "links/discovery_reply.h"
#include "links/network_tools.h"
#include "simulator/discovery_responder.h"
#include "simulator/simulator.h"

using namespace std::chrono_literals;

namespace {

std::vector<std::string> ScanPort(int port) {
    const pelor::links::DiscoveryTarget target{"127.0.0.1", static_cast<std::uint16_t>(port)};
    EXPECT_TRUE(pelor::links::IsLoopbackAddress(target.address));
    pelor::links::NetworkToolOptions o;
    o.scanWindow = 400ms;
    std::vector<std::string> lines;
    pelor::links::RunDiscoveryScan(
        target, [&](const std::string& l) { lines.push_back(l); }, o);
    return lines;
}

}  // namespace

TEST(DiscoverySim, ResponderOptionsShowInTheGatewayBlock) {
    pelor::sim::Options options;
    std::string error;
    const std::vector<std::string> args = {
        "--pty",       "--discovery",         "0",           "--discovery-type",
        "AB",          "--discovery-version", "2.7",         "--discovery-serial",
        "01-02-03-04", "--discovery-mac",     "0a0b0c0d0e0f"};
    ASSERT_TRUE(pelor::sim::ParseOptions(args, options, error)) << error;
    pelor::sim::DiscoveryResponder responder(options.discovery);
    ASSERT_TRUE(responder.Open(error)) << error;
    const auto lines = ScanPort(responder.Port());
    const std::vector<std::string> expected = {"Start Scan",
                                               "Type    : 41-42 (AB)",
                                               "Version : Major.Minor: 2.7",
                                               "Serial #: 01-02-03-04",
                                               "MAC     : 0a-0b-0c-0d-0e-0f",
                                               "IP Addr : 127.0.0.1",
                                               "Continue scan ...",
                                               " ",
                                               "End Scan"};
    EXPECT_EQ(lines, expected);
}

TEST(DiscoverySim, MalformedModeAndBadOptions) {
    pelor::sim::DiscoveryOptions o;
    o.port = 0;
    o.malformed = true;
    pelor::sim::DiscoveryResponder responder(o);
    std::string error;
    ASSERT_TRUE(responder.Open(error)) << error;
    const auto lines = ScanPort(responder.Port());
    EXPECT_EQ(lines, (std::vector<std::string>{"Start Scan", "erroneous data.", "Continue scan ...",
                                               " ", "Wrong type buf[3]=33", "End Scan"}));

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--pty", "--discovery", "x"},
          {"--pty", "--discovery-mac", "01-02"},
          {"--pty", "--discovery-version", "300.1"},
          {"--pty", "--discovery-type", "ABC"},
          {"--pty", "--discovery-serial"}}) {
        pelor::sim::Options options;
        EXPECT_FALSE(pelor::sim::ParseOptions(bad, options, error)) << bad[1];
        EXPECT_FALSE(error.empty()) << bad[1];
    }
}
