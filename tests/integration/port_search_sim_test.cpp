// "Search Com Ports" and the port test on the simulator's terminal while it plays the unit:
// the port is found with its rate, tested, and a link opened on it afterwards still reads the
// unit's sentences.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "links/port_search.h"
#include "links/serial_device.h"
#include "simulator/simulator.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

TEST(PortSearchOnSimulator, FindsTestsAndLeavesTheUnitsTerminalUsable) {
    sim::Options options;
    options.link = sim::LinkKind::Pty;
    options.intervalMs = 100;
    sim::Simulator simulator(options);
    std::string error;
    ASSERT_TRUE(simulator.Open(error)) << error;
    std::jthread run([&](const std::stop_token& t) { simulator.Run(t); });
    const std::string path = simulator.Endpoint();

    // The terminal as a link leaves it: 4800 baud.
    {
        links::SerialDevice port;
        ASSERT_TRUE(port.Open(path));
        ASSERT_TRUE(port.Configure({4800}));
    }
    std::vector<std::string> found;
    links::SearchComPorts(
        0,
        [&] {
            return std::vector<links::SerialPortInfo>{{path, "", false}};
        },
        [&](const links::PortLine& l) { found.push_back(l.text); });
    EXPECT_EQ(found, (std::vector<std::string>{path + "  Baud = 4800", "Finished Search"}));

    std::vector<std::string> tested;
    links::TestComPort(path, [&](const std::string& l) { tested.push_back(l); });
    EXPECT_EQ(tested,
              (std::vector<std::string>{"Successful Open Port", "Current Baud = 4800",
                                        "Successful Set Port", "New Baud = 4800", "Port Closed"}));

    links::SerialDevice port;
    ASSERT_TRUE(port.Open(path));
    EXPECT_EQ(port.BaudRate(), 4800) << "the test put the rate back";
    ASSERT_TRUE(port.Configure({38400}));
    std::string text;
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (text.find("$IIXDR,") == std::string::npos && std::chrono::steady_clock::now() < end) {
        std::uint8_t buffer[256];
        const int n = port.Read(buffer);
        if (n > 0) text.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_NE(text.find("$IIXDR,"), std::string::npos) << "nothing from the unit after the test";
    port.Close();
    run.request_stop();
}

}  // namespace
