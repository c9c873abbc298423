// Records logs of every kind from the unit simulator over a real loopback TCP link, wired as
// the dashboard wires it: the text link's reader pass gets the capture tick and the raw text
// writer, the frame link's batches go to the adapter frame writer before they are decoded.
// The recordings must play back through the same decoders. With PELOR_REBUILD_DEMO_LOGS=1 the
// recordings replace the demo logs in examples/demo.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "core/clock.h"
#include "decode/n2k_binary.h"
#include "decode/reader_pass.h"
#include "links/link_manager.h"
#include "logs/capture.h"
#include "logs/playback.h"
#include "logs_fixture.h"
#include "simulator/simulator.h"

namespace pelor::logs::testing {
namespace {

using namespace std::chrono_literals;

struct SimulatorThread {
    explicit SimulatorThread(sim::Mode mode) : simulator(Options(mode)) {
        std::string error;
        opened = simulator.Open(error);
        if (opened) thread = std::jthread([this](std::stop_token t) { simulator.Run(t); });
    }
    static sim::Options Options(sim::Mode mode) {
        sim::Options o;
        o.link = sim::LinkKind::Tcp;
        o.mode = mode;
        o.intervalMs = 500;
        return o;
    }
    sim::Simulator simulator;
    bool opened = false;
    std::jthread thread;
};

// One link, any number of captures recording what it delivers.
struct RecordingRig {
    core::SystemClock clock;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    decode::ChannelStore store;
    decode::ChannelContext context;
    core::ReaderThread serialSlot, usbSlot, netSlot, adapterSlot;
    std::vector<std::unique_ptr<Capture>> captures;
    std::unique_ptr<links::LinkContext> link;
    std::unique_ptr<links::LinkManager> manager;

    RecordingRig(int connectionType, int port) {
        context.clock = &clock;
        context.captureTick = [this](decode::ChannelStore& s) {
            for (auto& c : captures) c->Tick(s);
        };
        context.rawText = [this](std::string_view text) {
            for (auto& c : captures) {
                if (c->Recording()) c->WriteRawText(store, text);
            }
        };
        link = std::make_unique<links::LinkContext>(links::LinkContext{
            {},
            store,
            view,
            prompt,
            {serialSlot, usbSlot, netSlot, adapterSlot},
            [this](links::TextLink, std::string_view bytes) {
                decode::ReaderPass(store, context, bytes, decode::LinkKind::Tcp);
            },
            [this](links::FrameLink, std::string_view bytes) {
                std::vector<std::uint8_t> batch(bytes.begin(), bytes.end());
                std::lock_guard<std::mutex> lock(store.mutex);
                for (auto& c : captures) {
                    if (c->Recording()) c->WriteAdapterFrames(store, batch);
                }
                decode::ApplyN2KBatchStatus(
                    store, decode::DecodeN2KBinary(store, context, batch.data(), batch.size()));
            },
            {},
            {}});
        link->settings.connectionType = connectionType;
        link->settings.ipAddress = "127.0.0.1";
        link->settings.tcpPort = port;
        manager = std::make_unique<links::LinkManager>(*link);
    }
    // Before the link opens: the reader walks `captures` from then on.
    void AddLog(const std::string& path) {
        captures.push_back(std::make_unique<Capture>(prompt, view, clock, store, nullptr));
        captures.back()->SetLogPath(path);
        captures.back()->SetCaptureInterval(1);
    }
    void RecordAll() {
        for (auto& c : captures) c->OnRecord();
    }
    void StopAll() {
        for (auto& c : captures) c->Stop();
        if (manager->Connected()) manager->ToggleConnection();
    }
};

void Publish(const std::string& from, const std::string& name) {
    if (std::getenv("PELOR_REBUILD_DEMO_LOGS") == nullptr) return;
    std::filesystem::copy_file(from, std::string(PELOR_SOURCE_DIR "/examples/demo/") + name,
                               std::filesystem::copy_options::overwrite_existing);
}

// Plays a whole log forward and returns the values and NMEA 2000 messages it decoded.
int PlayBack(const std::string& path, LogKind kind) {
    core::ManualClock clock(0);
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    decode::ChannelStore store;
    decode::ChannelContext context;
    int applied = 0;
    context.valueApplied = [&](int, std::string_view, std::string_view) { ++applied; };
    context.messageDecoded = [&](std::uint32_t, std::int64_t) { ++applied; };
    decode::PageBytes modes{};
    for (auto& m : modes[0]) m = 1;
    context.labelMode = &modes;
    core::ReaderThread thread;
    Playback playback(PlaybackContext{store, context, view, prompt, clock, thread, {}, {}});
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr || !playback.Prepare(f, kind, 0)) return -1;
    playback.Modes().Press(PlaybackButton::FastForward);
    for (int i = 0; i < 1000; ++i) playback.Step();
    return applied;
}

TEST(DemoLogs, TextLinkRecordingsOfEveryTextKindPlayBack) {
    SimulatorThread sim(sim::Mode::Text);
    ASSERT_TRUE(sim.opened);
    TempDir dir;
    RecordingRig rig(1, sim.simulator.Port());
    for (const char* name : {"DemoLog.csv", "DemoLog.txt", "DemoLog.htm"}) {
        rig.AddLog(dir.Path(name));
    }
    rig.manager->ToggleConnection();
    ASSERT_TRUE(rig.manager->Connected()) << rig.prompt.MessageTexts().size();
    rig.RecordAll();
    std::this_thread::sleep_for(3500ms);
    rig.StopAll();
    EXPECT_TRUE(rig.prompt.MessageTexts().empty());

    const std::string csv = ReadAll(dir.Path("DemoLog.csv"));
    EXPECT_EQ(csv.rfind("Date Time, Count,", 0), 0u) << csv;
    EXPECT_NE(csv.find(",000002,"), std::string::npos) << csv;
    const std::string txt = ReadAll(dir.Path("DemoLog.txt"));
    EXPECT_NE(txt.find("$IIXDR,"), std::string::npos);
    EXPECT_LT(txt.size(), 16000u);
    const std::string htm = ReadAll(dir.Path("DemoLog.htm"));
    EXPECT_EQ(htm.rfind("<HTML>", 0), 0u);
    EXPECT_NE(htm.find("</HTML>"), std::string::npos);

    EXPECT_GT(PlayBack(dir.Path("DemoLog.txt"), LogKind::Text), 0);
    for (const char* name : {"DemoLog.csv", "DemoLog.txt", "DemoLog.htm", "WebData.htm"}) {
        Publish(dir.Path(name), name);
    }
}

TEST(DemoLogs, FrameLinkRecordingPlaysBackThroughTheFrameDecoder) {
    SimulatorThread sim(sim::Mode::Frames);
    ASSERT_TRUE(sim.opened);
    TempDir dir;
    RecordingRig rig(4, sim.simulator.Port());
    rig.AddLog(dir.Path("DemoLog.ebl"));
    rig.manager->ToggleConnection();
    ASSERT_TRUE(rig.manager->Connected());
    rig.RecordAll();
    std::this_thread::sleep_for(2500ms);
    rig.StopAll();
    EXPECT_TRUE(rig.prompt.MessageTexts().empty());
    const std::string ebl = ReadAll(dir.Path("DemoLog.ebl"));
    ASSERT_GT(ebl.size(), 100u);
    EXPECT_EQ(ebl.rfind(std::string("\x10\x02\x93", 3), 0), 0u);

    EXPECT_GT(PlayBack(dir.Path("DemoLog.ebl"), LogKind::Ebl), 0);
    Publish(dir.Path("DemoLog.ebl"), "DemoLog.ebl");
}

TEST(DemoLogs, CheckedInDemoLogsPlayBack) {
    const std::string demo = PELOR_SOURCE_DIR "/examples/demo/";
    if (!std::filesystem::exists(demo + "DemoLog.txt")) GTEST_SKIP() << "no demo logs yet";
    EXPECT_GT(PlayBack(demo + "DemoLog.txt", LogKind::Text), 0);
    EXPECT_GT(PlayBack(demo + "DemoLog.ebl", LogKind::Ebl), 0);
    EXPECT_GT(PlayBack(demo + "DemoLog.htm", LogKind::Text), 0);
    EXPECT_GT(PlayBack(demo + "DemoLog.csv", LogKind::CsvHeaderPending), 0);
    const std::string csv = ReadAll(demo + "DemoLog.csv");
    EXPECT_EQ(csv.rfind("Date Time, Count,", 0), 0u);
}

}  // namespace
}  // namespace pelor::logs::testing
