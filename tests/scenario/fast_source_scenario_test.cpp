// A unit much faster than one read a pass (50 cycles a second, about 25 KB/s), connected at
// start over TCP: the window keeps up. The dashboard's receive queue stays small for the whole
// run and the caption keeps showing the unit, instead of a queue that grows by some 20 KB a
// second while the gauges show ever older values. PELOR_SOAK_SECONDS sets the run's length
// (default 10).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// Bytes waiting in the receive queue of this machine's TCP connection to 127.0.0.1:`port`
// from a local port other than `port` (the dashboard's side); -1 when there is none.
long ReceiveQueue(int port) {
    std::ifstream in("/proc/net/tcp");
    std::string line;
    std::getline(in, line);  // heading
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues;
        fields >> slot >> local >> remote >> state >> queues;
        const auto remotePort = std::stoi(remote.substr(remote.find(':') + 1), nullptr, 16);
        const auto localPort = std::stoi(local.substr(local.find(':') + 1), nullptr, 16);
        if (remotePort != port || localPort == port || state != "01") continue;
        return std::stol(queues.substr(queues.find(':') + 1), nullptr, 16);
    }
    return -1;
}

TEST(FastSourceScenario, ReceiveQueueStaysSmallAndTheWindowKeepsUp) {
    const char* soak = std::getenv("PELOR_SOAK_SECONDS");
    const int seconds = soak != nullptr ? std::max(5, std::atoi(soak)) : 10;
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::Simulator sim({"--tcp", "0", "--mode", "text", "--interval", "20"});
    ASSERT_GT(sim.Port(), 0) << "simulator did not start: '" << sim.Address() << "'";
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()},
                             {"ConnectionType", "129"},
                             {"IPAddress", "127.0.0.1"},
                             {"TCPPort", std::to_string(sim.Port())},
                             {"TCPBufferSize", "500"},
                             {"ShowCOMStatus", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.windowTitle().contains("SIM"); }, 8s))
            << "caption never showed the unit's version: " << window.windowTitle().toStdString();
        long largest = 0;
        long last = 0;
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds)) {
            scenario::Pump(250ms);
            last = ReceiveQueue(sim.Port());
            ASSERT_GE(last, 0) << "the dashboard's connection is gone";
            // Past the first pass: what arrives between two passes, and a little more.
            if (std::chrono::steady_clock::now() - start > 1s) largest = std::max(largest, last);
        }
        std::printf("%d s at 50 cycles a second: receive queue largest %ld B, last %ld B\n",
                    seconds, largest, last);
        const QImage shot = scenario::GrabWindow(window);
        scenario::SaveShot(shot, "fast-source");
        EXPECT_GT(scenario::LitShare(shot), 0.02) << "the gauge area shows almost nothing";
        // The caption shows the unit's version whenever a read holds its sentence.
        EXPECT_TRUE(scenario::WaitUntil([&] { return window.windowTitle().contains("SIM"); }, 3s))
            << window.windowTitle().toStdString();
        // One pass (500 ms) at about 25 KB/s is some 12 KB; a reader one read behind a pass
        // held 200 KB after ten seconds.
        EXPECT_LT(largest, 48 * 1024) << "the receive queue grew";
    });
}

}  // namespace
