// Every connection type against the unit simulator: data reaches the reader's pass, commands
// reach the unit, reconnecting leaves one reader, a vanishing peer ends the reader.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "links/fake_ftdi_control.h"
#include "links/link_manager.h"
#include "loopback.h"
#include "simulator/simulator.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

int ThreadCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;
}

// Waits until the process runs `target` threads or fewer.
bool WaitForThreads(int target, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (ThreadCount() > target) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The simulator on a thread of its own.
class SimulatorRun {
public:
    explicit SimulatorRun(sim::Options options) : simulator_(std::move(options)) {
        std::string error;
        opened_ = simulator_.Open(error);
        if (opened_)
            thread_ = std::jthread([this](const std::stop_token& t) { simulator_.Run(t); });
    }
    bool Opened() const { return opened_; }
    sim::Simulator& operator*() { return simulator_; }
    sim::Simulator* operator->() { return &simulator_; }
    bool SawCommand(const std::string& name, std::chrono::milliseconds limit = 3s) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            for (const auto& c : simulator_.ReceivedCommands())
                if (c == name) return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }
    void Stop() {
        thread_.request_stop();
        if (thread_.joinable()) thread_.join();
    }
    ~SimulatorRun() { Stop(); }

private:
    sim::Simulator simulator_;
    bool opened_ = false;
    std::jthread thread_;
};

// What the readers hand over, as the text and frame passes see it.
struct Received {
    std::mutex mutex;
    std::condition_variable changed;
    std::string text;
    std::string frames;
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 6s) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, done);
    }
};

struct LinkRig {
    decode::ChannelStore store;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    Received received;
    core::ReaderThread serialSlot, usbSlot, netSlot, adapterSlot;
    links::LinkContext context{{},
                               store,
                               view,
                               prompt,
                               {serialSlot, usbSlot, netSlot, adapterSlot},
                               [this](links::TextLink, std::string_view b) {
                                   std::lock_guard lock(received.mutex);
                                   received.text.append(b);
                                   received.changed.notify_all();
                               },
                               [this](links::FrameLink, std::string_view b) {
                                   std::lock_guard lock(received.mutex);
                                   received.frames.append(b);
                                   received.changed.notify_all();
                               },
                               {},
                               {}};
    links::LinkManager manager{context};

    bool TextHas(std::string_view what, std::chrono::milliseconds limit = 6s) {
        return received.WaitFor([&] { return received.text.find(what) != std::string::npos; },
                                limit);
    }
    bool FramesHave(std::string_view what, std::chrono::milliseconds limit = 6s) {
        return received.WaitFor([&] { return received.frames.find(what) != std::string::npos; },
                                limit);
    }
    void Clear() {
        std::lock_guard lock(received.mutex);
        received.text.clear();
        received.frames.clear();
    }
    int RunningReaders() const {
        return serialSlot.Running() + usbSlot.Running() + netSlot.Running() + adapterSlot.Running();
    }
};

sim::Options SimOptions(sim::LinkKind link, sim::Mode mode, int port = 0) {
    sim::Options o;
    o.link = link;
    o.mode = mode;
    o.port = port;
    o.intervalMs = 100;
    return o;
}

const std::string kFrameStart("\x10\x02\x93", 3);

struct TypeCase {
    int type;
    sim::LinkKind link;
    sim::Mode mode;
    const char* legend;
};

class EveryType : public ::testing::TestWithParam<TypeCase> {};

// Connect, data arrives, a command arrives, disconnect and connect again with one reader.
TEST_P(EveryType, DataFlowsCommandsArriveAndReconnectKeepsOneReader) {
    const TypeCase c = GetParam();
    LinkRig rig;
    auto& s = rig.context.settings;
    s.connectionType = c.type;
    s.serialBufferSize = 200;
    s.tcpBufferSize = 500;
    s.usbBufferSize = 200;
    s.ipAddress = "127.0.0.1";
    s.usbLibraryPath = PELOR_FAKE_FTD2XX;
    links::testing::FakeFtdi fake(PELOR_FAKE_FTD2XX);
    fake.SetReadWaitCap(300);

    const int udpPort = c.link == sim::LinkKind::Udp ? pelor::testing::FreeUdpPort() : 0;
    std::optional<SimulatorRun> simulator;
    if (c.link == sim::LinkKind::Udp) {
        s.tcpPort = udpPort;
        rig.manager.ToggleConnection();  // the dashboard binds first; the unit sends to it
        simulator.emplace(SimOptions(c.link, c.mode, udpPort));
    } else {
        simulator.emplace(SimOptions(c.link, c.mode));
        ASSERT_TRUE(simulator->Opened());
        s.serialPortName = (*simulator)->Endpoint();
        s.tcpPort = (*simulator)->Port();
        fake.ServePty((*simulator)->Endpoint());
        rig.manager.ToggleConnection();
    }
    ASSERT_TRUE(simulator->Opened()) << c.legend;
    ASSERT_TRUE(rig.manager.Connected()) << c.legend << ": " << rig.prompt.MessageTexts().size();
    EXPECT_EQ(rig.view.ButtonPicture(links::kConnectButtonId), links::kConnectedPicture);
    EXPECT_EQ(rig.RunningReaders(), 1) << c.legend;

    if (c.mode == sim::Mode::Frames) {
        EXPECT_TRUE(rig.FramesHave(kFrameStart)) << c.legend;
        EXPECT_TRUE(rig.received.text.empty()) << c.legend;
    } else {
        EXPECT_TRUE(rig.TextHas("$IIXDR,")) << c.legend;
        EXPECT_TRUE(rig.TextHas("$PKZLS,")) << c.legend;
        EXPECT_TRUE(rig.received.frames.empty()) << c.legend;
    }
    EXPECT_EQ(rig.view.Caption(), "connected") << c.legend;
    EXPECT_GE(rig.view.RepaintCount(), 1) << c.legend;

    EXPECT_EQ(rig.manager.SendToLink("$PKZLC,N\r", false), 0) << c.legend;
    EXPECT_TRUE(simulator->SawCommand("$PKZLC,N")) << c.legend;
    EXPECT_EQ((*simulator)->State().page, 1) << c.legend;

    const int threads = ThreadCount();
    rig.manager.ToggleConnection();
    EXPECT_EQ(rig.view.Caption(), "disconnected");
    EXPECT_EQ(rig.RunningReaders(), 0) << c.legend;
    EXPECT_EQ(ThreadCount(), threads - 1) << c.legend;
    rig.Clear();
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected()) << c.legend;
    EXPECT_EQ(rig.RunningReaders(), 1) << c.legend;
    EXPECT_EQ(ThreadCount(), threads) << c.legend;
    if (c.mode == sim::Mode::Frames)
        EXPECT_TRUE(rig.FramesHave(kFrameStart)) << c.legend;
    else
        EXPECT_TRUE(rig.TextHas("$IIXDR,")) << c.legend;
    EXPECT_TRUE(rig.prompt.MessageTexts().empty()) << c.legend;
}

INSTANTIATE_TEST_SUITE_P(
    Links, EveryType,
    ::testing::Values(TypeCase{0, sim::LinkKind::Pty, sim::Mode::Text, "serial text"},
                      TypeCase{1, sim::LinkKind::Tcp, sim::Mode::Text, "TCP text"},
                      TypeCase{2, sim::LinkKind::Pty, sim::Mode::Text, "USB text"},
                      TypeCase{3, sim::LinkKind::Pty, sim::Mode::Frames, "serial adapter"},
                      TypeCase{4, sim::LinkKind::Tcp, sim::Mode::Frames, "TCP frames"},
                      TypeCase{5, sim::LinkKind::Pty, sim::Mode::Frames, "USB frames"},
                      TypeCase{6, sim::LinkKind::Udp, sim::Mode::Text, "UDP text"},
                      TypeCase{7, sim::LinkKind::Udp, sim::Mode::Frames, "UDP frames"}),
    [](const auto& info) { return "Type" + std::to_string(info.param.type); });

TEST(Simulator, SwitchCommandFlipsAnOutputThatTheNextStatusReports) {
    SimulatorRun simulator(SimOptions(sim::LinkKind::Pty, sim::Mode::Text));
    LinkRig rig;
    rig.context.settings.serialPortName = simulator->Endpoint();
    rig.context.settings.serialBufferSize = 200;
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    EXPECT_EQ(rig.manager.SendToLink("\r$IIXDR,S, ON ,R,SW5     5,*66\r", false), 0);
    EXPECT_TRUE(rig.TextHas("$PKZLS,S,000001000000"));
    EXPECT_TRUE(simulator->State().outputs[5]);
}

TEST(Simulator, FlashExchangeAnswersAsTheProgrammerExpects) {
    SimulatorRun simulator(SimOptions(sim::LinkKind::Tcp, sim::Mode::Text));
    LinkRig rig;
    auto& s = rig.context.settings;
    s.connectionType = 1;
    s.ipAddress = "127.0.0.1";
    s.tcpPort = simulator->Port();
    s.tcpBufferSize = 3000;  // the reader waits for a big block and leaves the answers alone
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    // As the programmer does: the first "program" stops the unit's stream, the second,
    // after the user's answer, waits for the unit's reply.
    ASSERT_EQ(rig.manager.SendToLink("$PKZLC,P\r", false), 0);
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(rig.manager.SendToLink("$PKZLC,P\r", true), 0);
    EXPECT_NE(rig.manager.UnitReply().find("FLASH "), std::string::npos);
    ASSERT_EQ(rig.manager.SendToLink("  *0001\r", true), 0);
    ASSERT_EQ(rig.manager.SendToLink("$PKZLC,E\r", true), 0);
    EXPECT_NE(rig.manager.UnitReply().find("ERASED "), std::string::npos);
    const std::string record =
        ":100100004C41424C4520202020202020202020202F\r\n";  // 16 bytes at 0x0100
    ASSERT_EQ(rig.manager.SendToLink(record, true), 0);
    EXPECT_EQ(rig.manager.UnitReply().substr(8, 4), "0100") << rig.manager.UnitReply();
    EXPECT_EQ(simulator->RecordsWritten(), 1);
    ASSERT_EQ(rig.manager.SendToLink(std::string(":00000001FF\r\n\0\0", 15), false), 0);
}

TEST(Simulator, PeerClosingEndsTheNetworkReader) {
    auto options = SimOptions(sim::LinkKind::Tcp, sim::Mode::Text);
    // Long enough for a loaded machine to connect and read a first cycle before the unit goes.
    options.faults.closeAfter = 6.0;
    options.intervalMs = 1000;  // about what the reader takes in
    SimulatorRun simulator(options);
    LinkRig rig;
    auto& s = rig.context.settings;
    s.connectionType = 1;
    s.ipAddress = "127.0.0.1";
    s.tcpPort = simulator->Port();
    s.tcpBufferSize = 300;  // every cycle of the unit fills a read
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    ASSERT_TRUE(rig.TextHas("$IIXDR,"));  // connected and served before the unit goes
    const int threads = ThreadCount();
    EXPECT_TRUE(WaitForThreads(threads - 1, 10s)) << "the reader should end on its own";
    EXPECT_TRUE(rig.netSlot.Stop(0ms));
    rig.manager.ToggleConnection();
    EXPECT_EQ(rig.view.Caption(), "disconnected");
}

TEST(Simulator, VanishingTerminalEndsTheSerialAndUsbReaders) {
    for (const int type : {0, 2}) {
        auto options = SimOptions(sim::LinkKind::Pty, sim::Mode::Text);
        options.faults.closeAfter = 2.0;
        SimulatorRun simulator(options);
        LinkRig rig;
        links::testing::FakeFtdi fake(PELOR_FAKE_FTD2XX);
        fake.SetReadWaitCap(300);
        fake.ServePty(simulator->Endpoint());
        auto& s = rig.context.settings;
        s.connectionType = type;
        s.serialPortName = simulator->Endpoint();
        s.usbLibraryPath = PELOR_FAKE_FTD2XX;
        s.usbBufferSize = 100;
        rig.manager.ToggleConnection();
        ASSERT_TRUE(rig.manager.Connected()) << type;
        ASSERT_TRUE(rig.TextHas("$IIXDR,")) << type;
        const int threads = ThreadCount();
        EXPECT_TRUE(WaitForThreads(threads - 2)) << type << ": unit and reader should end";
        core::ReaderThread& slot = type == 0 ? rig.serialSlot : rig.usbSlot;
        EXPECT_TRUE(slot.Stop(0ms)) << type;
        rig.manager.ToggleConnection();
    }
}

TEST(Simulator, DamagedAndSplitBytesStillFlowWithoutHarm) {
    auto options = SimOptions(sim::LinkKind::Tcp, sim::Mode::Text);
    ASSERT_TRUE(sim::ParseFaults("drop=0.02,corrupt=0.02,split,seed=3", options.faults,
                                 *std::make_unique<std::string>()));
    SimulatorRun simulator(options);
    LinkRig rig;
    auto& s = rig.context.settings;
    s.connectionType = 1;
    s.ipAddress = "127.0.0.1";
    s.tcpPort = simulator->Port();
    s.tcpBufferSize = 300;
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    EXPECT_TRUE(rig.TextHas("IIXDR"));
}

TEST(Simulator, UsbDeviceAnsweringStatusFourWorks) {
    SimulatorRun simulator(SimOptions(sim::LinkKind::Pty, sim::Mode::Text));
    links::testing::FakeFtdi fake(PELOR_FAKE_FTD2XX);
    fake.SetReadWaitCap(300);
    fake.SetSuccessStatus(4);
    fake.ServePty(simulator->Endpoint());
    LinkRig rig;
    auto& s = rig.context.settings;
    s.connectionType = 2;
    s.usbLibraryPath = PELOR_FAKE_FTD2XX;
    s.usbBufferSize = 200;
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    EXPECT_TRUE(rig.TextHas("$IIXDR,"));
    EXPECT_EQ(rig.manager.SendToLink("$PKZLC,N\r", false), 0);
    EXPECT_TRUE(simulator.SawCommand("$PKZLC,N"));
}

TEST(Simulator, UnresolvableHostFailsWithTheManagersMessage) {
    LinkRig rig;
    rig.context.settings.connectionType = 1;
    rig.context.settings.ipAddress = "pelor-unit.invalid";
    rig.manager.ToggleConnection();
    EXPECT_FALSE(rig.manager.Connected());
    EXPECT_EQ(rig.prompt.MessageTexts(),
              std::vector<std::string>{"Unable to Initialize  TCP connection"});
    EXPECT_EQ(rig.view.Caption(), "disconnected");
}

// The installers' program: prints its terminal, serves it and ends after its duration.
TEST(SimulatorProgram, ServesAPseudoTerminalForItsDuration) {
    FILE* program = popen(PELOR_SIM_PROGRAM " --pty --interval 100 --duration 3", "r");
    ASSERT_NE(program, nullptr);
    char line[256] = {};
    ASSERT_NE(fgets(line, sizeof line, program), nullptr);
    std::string path(line);
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    LinkRig rig;
    rig.context.settings.serialPortName = path;
    rig.context.settings.serialBufferSize = 200;
    rig.manager.ToggleConnection();
    ASSERT_TRUE(rig.manager.Connected());
    EXPECT_TRUE(rig.TextHas("$PKZLS,V,"));
    EXPECT_EQ(pclose(program), 0);  // ended on its own
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(rig.serialSlot.Stop(0ms));
}

}  // namespace
