// The links with the real decoders behind them: what the simulated unit sends ends in the
// channel store and the caption.
#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "core/clock.h"
#include "decode/channel_context.h"
#include "decode/n2k_binary.h"
#include "decode/reader_pass.h"
#include "links/link_manager.h"
#include "simulator/simulator.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

struct DecodingRig {
    decode::ChannelStore store;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    core::SystemClock clock;
    decode::ChannelContext channelContext;
    std::mutex seenMutex;
    std::set<std::uint32_t> pgns;
    std::vector<std::uint8_t> frameWork;
    core::ReaderThread serialSlot, usbSlot, netSlot, adapterSlot;
    links::LinkContext context{{},
                               store,
                               view,
                               prompt,
                               {serialSlot, usbSlot, netSlot, adapterSlot},
                               [this](links::TextLink link, std::string_view b) {
                                   decode::ReaderPass(store, channelContext, b, link);
                               },
                               [this](links::FrameLink, std::string_view b) {
                                   std::lock_guard lock(store.mutex);
                                   frameWork.assign(b.begin(), b.end());
                                   const auto batch = decode::DecodeN2KBinary(
                                       store, channelContext, frameWork.data(), frameWork.size());
                                   decode::ApplyN2KBatchStatus(store, batch);
                               },
                               {},
                               {}};
    links::LinkManager manager{context};

    DecodingRig() {
        channelContext.view = &view;
        channelContext.clock = &clock;
        channelContext.messageDecoded = [this](std::uint32_t pgn, std::int64_t) {
            std::lock_guard lock(seenMutex);
            pgns.insert(pgn);
        };
    }
    // Polls `done` (under the store's lock) for up to `limit`.
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 8s) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            {
                std::lock_guard lock(store.mutex);
                if (done()) return true;
            }
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }
    bool AllChannelsHaveASentence() const {
        for (const auto& s : store.LastSentence)
            if (s.find("$IIXDR,") != 0) return false;
        return true;
    }
};

struct SimulatorThread {
    explicit SimulatorThread(sim::Options o) : simulator(std::move(o)) {
        std::string error;
        opened = simulator.Open(error);
        if (opened) thread = std::jthread([this](const std::stop_token& t) { simulator.Run(t); });
    }
    sim::Simulator simulator;
    bool opened = false;
    std::jthread thread;
};

sim::Options Options(sim::LinkKind link, sim::Mode mode) {
    sim::Options o;
    o.link = link;
    o.mode = mode;
    o.intervalMs = 250;
    return o;
}

TEST(EndToEnd, SerialTextFillsEveryChannelAndTheCaption) {
    SimulatorThread unit(Options(sim::LinkKind::Pty, sim::Mode::Text));
    ASSERT_TRUE(unit.opened);
    DecodingRig rig;
    rig.context.settings.serialPortName = unit.simulator.Endpoint();
    rig.context.settings.serialBufferSize = 300;
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    EXPECT_TRUE(rig.WaitFor([&] { return rig.AllChannelsHaveASentence(); }));
    EXPECT_TRUE(rig.WaitFor([&] { return rig.store.m_strTitlePrefix.rfind("SIM 1.0", 0) == 0; }));
    EXPECT_EQ(rig.view.Caption().rfind("SIM 1.0", 0), 0u) << rig.view.Caption();
    // Switch outputs come back in the unit's status sentence.
    EXPECT_EQ(rig.manager.SendToLink("\r$IIXDR,S, ON ,R,SW3     3,*66\r", false), 0);
    EXPECT_TRUE(rig.WaitFor([&] { return rig.store.SwitchState[3] != 0; }));
}

TEST(EndToEnd, TcpGatewaySentencesReachTheNmea2000Decoder) {
    SimulatorThread unit(Options(sim::LinkKind::Tcp, sim::Mode::Gateway));
    ASSERT_TRUE(unit.opened);
    DecodingRig rig;
    auto& s = rig.context.settings;
    s.connectionType = 1;
    s.ipAddress = "127.0.0.1";
    s.tcpPort = unit.simulator.Port();
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    EXPECT_TRUE(rig.WaitFor([&] {
        std::lock_guard lock(rig.seenMutex);
        return rig.pgns.size() >= 5;
    }));
    EXPECT_TRUE(
        rig.WaitFor([&] { return rig.store.m_strTitlePrefix == "connected to Nordplex.Net "; }));
    EXPECT_EQ(rig.view.Caption().find("connected to Nordplex.Net N2K: Link Time "), 0u)
        << rig.view.Caption();
}

TEST(EndToEnd, AdapterFramesReachTheDecoderAndTheCaption) {
    SimulatorThread unit(Options(sim::LinkKind::Tcp, sim::Mode::Frames));
    ASSERT_TRUE(unit.opened);
    DecodingRig rig;
    auto& s = rig.context.settings;
    s.connectionType = 4;
    s.ipAddress = "127.0.0.1";
    s.tcpPort = unit.simulator.Port();
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    // The caption is set after the pass has released the store: wait for it, not for the store.
    EXPECT_TRUE(rig.WaitFor([&] {
        return rig.view.Caption().find("NMEA 2000: Link Time") != std::string::npos &&
               rig.view.Caption().find("N2K Packets") != std::string::npos;
    })) << rig.view.Caption();
    std::lock_guard lock(rig.seenMutex);
    EXPECT_GE(rig.pgns.size(), 5u);
}

}  // namespace
