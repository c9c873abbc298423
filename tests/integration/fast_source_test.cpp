// A source much faster than one read a pass: every reader takes in what waits at each pass,
// so the queue between the unit and the dashboard stays bounded and the newest data reaches
// the decoders within one pass.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "decode/n2k_binary.h"
#include "decode/reader_pass.h"
#include "links/fake_ftdi_control.h"
#include "links/link_manager.h"
#include "loopback.h"
#include "simulator/simulator.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// When the simulator had sent how much, sampled every few milliseconds.
struct SentSample {
    Clock::time_point at;
    std::uint64_t sent;
};

// What one pass took in: when, and the stream's byte count up to its last byte.
struct PassSample {
    Clock::time_point at;
    std::uint64_t consumed;
};

struct FastRig {
    decode::ChannelStore store;
    decode::ChannelContext decodeContext;
    std::vector<std::uint8_t> frameWork;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    std::mutex mutex;
    std::uint64_t consumed = 0;
    std::vector<PassSample> passes;
    core::ReaderThread serialSlot, usbSlot, netSlot, adapterSlot;

    // Every read runs through the real decoders, so the figures include their cost.
    void Took(std::string_view bytes, bool frames, decode::LinkKind kind) {
        if (frames) {
            frameWork.assign(bytes.begin(), bytes.end());
            std::lock_guard lock(store.mutex);
            decode::DecodeN2KBinary(store, decodeContext, frameWork.data(), frameWork.size());
        } else {
            decode::ReaderPass(store, decodeContext, bytes, kind);
        }
        std::lock_guard lock(mutex);
        consumed += bytes.size();
        passes.push_back({Clock::now(), consumed});
    }

    links::LinkContext context{
        {},
        store,
        view,
        prompt,
        {serialSlot, usbSlot, netSlot, adapterSlot},
        [this](links::TextLink link, std::string_view b) { Took(b, false, link); },
        [this](links::FrameLink, std::string_view b) { Took(b, true, decode::LinkKind::Usb); },
        {},
        {}};
    links::LinkManager manager{context};
};

struct FastCase {
    int type;
    sim::LinkKind link;
    sim::Mode mode;
    int passMs;
    const char* legend;
};

class FastSource : public ::testing::TestWithParam<FastCase> {};

// The simulator at 50 cycles a second (about 25 KB/s, 25 times what one 500-byte read a half
// second takes in) for several seconds. Before readers drained their device, the backlog grew
// by about 20 KB each second and the newest byte a pass saw was as old as the run.
TEST_P(FastSource, QueueStaysBoundedAndNewestDataIsOnePassOld) {
    const FastCase c = GetParam();
    FastRig rig;
    auto& s = rig.context.settings;
    s.connectionType = c.type;
    s.serialBufferSize = 700;
    s.tcpBufferSize = 500;
    s.usbBufferSize = 600;
    s.ipAddress = "127.0.0.1";
    s.usbLibraryPath = PELOR_FAKE_FTD2XX;
    links::testing::FakeFtdi fake(PELOR_FAKE_FTD2XX);
    fake.SetReadWaitCap(300);

    sim::Options o;
    o.link = c.link;
    o.mode = c.mode;
    o.intervalMs = 20;
    std::optional<sim::Simulator> simulator;
    if (c.link == sim::LinkKind::Udp) {
        o.port = pelor::testing::FreeUdpPort();
        s.tcpPort = o.port;
        rig.manager.ToggleConnection();  // the dashboard binds first; the unit sends to it
        simulator.emplace(o);
        std::string error;
        ASSERT_TRUE(simulator->Open(error)) << error;
    } else {
        simulator.emplace(o);
        std::string error;
        ASSERT_TRUE(simulator->Open(error)) << error;
        s.serialPortName = simulator->Endpoint();
        s.tcpPort = simulator->Port();
        fake.ServePty(simulator->Endpoint());
        rig.manager.ToggleConnection();
    }
    ASSERT_TRUE(rig.manager.Connected()) << c.legend;

    std::vector<SentSample> sent;
    std::jthread unit([&](const std::stop_token& t) { simulator->Run(t); });
    const auto start = Clock::now();
    constexpr auto kRun = 8s;
    constexpr auto kWarmUp = 2s;
    while (Clock::now() - start < kRun) {
        sent.push_back({Clock::now(), simulator->BytesSent()});
        std::this_thread::sleep_for(2ms);
    }
    const std::uint64_t sentAtEnd = simulator->BytesSent();
    std::vector<PassSample> passes;
    std::uint64_t consumed = 0;
    {
        std::lock_guard lock(rig.mutex);
        passes = rig.passes;
        consumed = rig.consumed;
    }
    rig.manager.ToggleConnection();
    unit.request_stop();
    unit.join();

    // Age of the newest byte of each read after the warm-up: how long before the read the
    // simulator had sent it.
    std::vector<double> ages;
    for (const auto& p : passes) {
        if (p.at - start < kWarmUp) continue;
        const auto when = std::find_if(sent.begin(), sent.end(),
                                       [&](const SentSample& x) { return x.sent >= p.consumed; });
        if (when == sent.end()) continue;  // sent after the last sample: brand new
        ages.push_back(std::chrono::duration<double, std::milli>(p.at - when->at).count());
    }
    ASSERT_FALSE(ages.empty()) << c.legend << ": no reads after the warm-up";
    std::sort(ages.begin(), ages.end());
    const double median = ages[ages.size() / 2];
    const double rate =
        static_cast<double>(sentAtEnd) / std::chrono::duration<double>(kRun).count();
    const double backlog = static_cast<double>(sentAtEnd) - static_cast<double>(consumed);
    std::printf(
        "%s: %.0f B/s sent, %zu reads, newest byte age median %.0f ms max %.0f ms, "
        "backlog at the end %.0f B\n",
        c.legend, rate, passes.size(), median, ages.back(), backlog);
    EXPECT_GT(rate, 10000) << c.legend << ": the simulator should send fast";
    // One pass interval, with room for a loaded machine.
    EXPECT_LE(median, c.passMs + 300) << c.legend;
    // What may wait: a pass interval's worth, one read short of a block, and slack.
    EXPECT_LE(backlog, rate * (c.passMs + 1000) / 1000.0 + 4000) << c.legend;
}

INSTANTIATE_TEST_SUITE_P(
    Links, FastSource,
    ::testing::Values(FastCase{0, sim::LinkKind::Pty, sim::Mode::Text, 200, "serial text"},
                      FastCase{1, sim::LinkKind::Tcp, sim::Mode::Text, 500, "TCP text"},
                      FastCase{1, sim::LinkKind::Tcp, sim::Mode::Gateway, 500, "TCP gateway"},
                      FastCase{2, sim::LinkKind::Pty, sim::Mode::Text, 500, "USB text"},
                      FastCase{3, sim::LinkKind::Pty, sim::Mode::Frames, 500, "serial adapter"},
                      FastCase{4, sim::LinkKind::Tcp, sim::Mode::Frames, 500, "TCP frames"},
                      FastCase{5, sim::LinkKind::Pty, sim::Mode::Frames, 500, "USB frames"},
                      FastCase{6, sim::LinkKind::Udp, sim::Mode::Text, 500, "UDP text"},
                      FastCase{7, sim::LinkKind::Udp, sim::Mode::Frames, 500, "UDP frames"}),
    [](const auto& info) {
        return "Type" + std::to_string(info.param.type) +
               (info.param.mode == sim::Mode::Gateway ? "Gateway" : "");
    });

}  // namespace
