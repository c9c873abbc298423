// A log recorded from each kind of link, through the dashboard's own reader passes and
// capture wiring, plays back to the channel values that the live data showed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dashboard.h"
#include "decode/channel_store.h"
#include "tables/label_file.h"

namespace {

using namespace pelor;

constexpr int kTextChannels = 8;  // 0..7 from transducer sentences
constexpr int kFirstN2KChannel = 8;

std::string Checksummed(const std::string& body) {
    unsigned sum = 0;
    for (const char c : body.substr(1)) sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r", sum);
    return body + tail;
}

std::string Name(int channel) {
    return "CHAN" + std::to_string(1000 + channel);  // 8 characters
}

// "$IIXDR,C,<value>,C,<name><digit>*hh\r".
std::string Transducer(int channel, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%4d##%02X", value, value & 0xFF);
    return Checksummed("$IIXDR,C," + std::string(text) + ",C," + Name(channel) +
                       "0123456789ABCDEF"[channel]);
}

// An adapter frame as it is on the link: 10 02 93 L prio pgn[3] dst src ts[4] n data CK 10 03,
// every 0x10 inside sent twice.
std::string Frame(std::uint32_t pgn, std::uint32_t time, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> body = {0x93,
                                      static_cast<std::uint8_t>(11 + data.size()),
                                      2,
                                      static_cast<std::uint8_t>(pgn),
                                      static_cast<std::uint8_t>(pgn >> 8),
                                      static_cast<std::uint8_t>(pgn >> 16),
                                      0xFF,
                                      0x23,
                                      static_cast<std::uint8_t>(time),
                                      static_cast<std::uint8_t>(time >> 8),
                                      static_cast<std::uint8_t>(time >> 16),
                                      static_cast<std::uint8_t>(time >> 24),
                                      static_cast<std::uint8_t>(data.size())};
    body.insert(body.end(), data.begin(), data.end());
    std::uint8_t sum = 0;
    for (const auto b : body) sum = static_cast<std::uint8_t>(sum + b);
    body.push_back(static_cast<std::uint8_t>(-sum));
    std::string out("\x10\x02", 2);
    for (const auto b : body) {
        out += static_cast<char>(b);
        if (b == 0x10) out += '\x10';
    }
    return out + std::string("\x10\x03", 2);
}

// The frames of one cycle: wind, heading, engine speed, battery, fluid level, with values
// that move with `k`. 0x10 bytes appear on purpose (stuffing).
std::string FrameCycle(int k, std::uint32_t time) {
    const auto lo = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
    const auto hi = [](int v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); };
    const int wind = 300 + 37 * k, heading = 1000 + 977 * k, rpm = 4000 + 160 * k;
    const int volts = 1200 + 3 * k, level = 10000 + 400 * k;
    return Frame(130306, time, {0, lo(wind), hi(wind), 0x10, 0x10, 0xFA, 0xFF, 0xFF}) +
           Frame(127250, time + 1, {0, lo(heading), hi(heading), 0, 0, 0, 0, 0xFD}) +
           Frame(127488, time + 2, {0, lo(rpm), hi(rpm), 0xFF, 0xFF, 0x7F, 0xFF, 0xFF}) +
           Frame(127508, time + 3, {0, lo(volts), hi(volts), 0x13, 0, 0xB3, 0x9C, 0xFF}) +
           Frame(127505, time + 4, {0x00, lo(level), hi(level), 0, 0, 0, 0, 0xFF});
}

// The same messages as a gateway's sentences.
std::string GatewayCycle(int k, std::uint32_t time) {
    const std::string frames = FrameCycle(k, time);
    std::string out;
    std::string unstuffed;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        unstuffed += frames[i];
        if (frames[i] == '\x10' && i + 1 < frames.size() && frames[i + 1] == '\x10') ++i;
    }
    for (std::size_t i = 0; i + 15 < unstuffed.size(); ++i) {
        if (unstuffed.compare(i, 3, "\x10\x02\x93") != 0) continue;
        const auto b = [&](std::size_t at) { return static_cast<std::uint8_t>(unstuffed[at]); };
        char head[32];
        std::snprintf(head, sizeof head, "$PKZLN,%02X%02X%02X,%02X%02X%02X%02X,%02X,", b(i + 7),
                      b(i + 6), b(i + 5), b(i + 13), b(i + 12), b(i + 11), b(i + 10), b(i + 9));
        std::string s = head;
        for (std::size_t k2 = 0; k2 < b(i + 14); ++k2) {
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02X", b(i + 15 + k2));
            s += pair;
        }
        out += Checksummed(s) + "\n";
        i += 3 + b(i + 3);
    }
    return out;
}

// A dashboard with every channel shown in DATA mode on page 0, channels 8..12 mapped to the
// NMEA 2000 messages above and the labels named as the transducer sentences name them.
struct Rig {
    core::ScriptedPrompt prompt;
    core::MemorySettingsStore settings;
    core::RecordingView view;
    core::ManualClock clock{1796413740};
    app::Dashboard dashboard{prompt, settings, view, clock};

    Rig() {
        for (int c = 0; c < decode::kChannelCount; ++c) {
            dashboard.labelModes[0][static_cast<std::size_t>(c)] = 1;
            tables::SetLabelEntry(dashboard.tables.labels, c, Name(c));
        }
        auto& o = dashboard.tables.options;
        const auto map = [&](int channel, int source0, int source1) {
            o[256 + 2 * static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(source0);
            o[257 + 2 * static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(source1);
        };
        map(kFirstN2KChannel + 0, 0x80, 0);  // apparent wind speed
        map(kFirstN2KChannel + 1, 0x90, 0);  // heading
        map(kFirstN2KChannel + 2, 0x10, 0);  // engine 0 speed
        map(kFirstN2KChannel + 3, 0x30, 0);  // battery 0 voltage
        map(kFirstN2KChannel + 4, 0x40, 0);  // fuel tank 0 level
        dashboard.RebuildChannelContext();
    }

    std::vector<std::string> Values() {
        std::lock_guard lock(dashboard.channels.mutex);
        std::vector<std::string> v;
        for (const auto& text : dashboard.channels.m_PosValueText) v.emplace_back(text.data(), 8);
        return v;
    }
};

struct LinkCase {
    const char* legend;
    bool frames;
    links::TextLink text;
    links::FrameLink frame;
};

class LogRoundTrip : public ::testing::TestWithParam<LinkCase> {};

std::string Scratch(const std::string& name) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("pelor-roundtrip-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

// Records the link's stream into a log of `extension`, then plays the log back on a second
// dashboard: both end with the same value on every channel.
void RecordAndPlayBack(const LinkCase& c, const std::string& extension, logs::LogKind kind) {
    const std::string path = Scratch(std::string(c.legend) + extension);
    std::filesystem::remove(path);
    Rig live;
    live.dashboard.Capture().SetLogPath(path);
    live.dashboard.Capture().SetCaptureInterval(0);
    live.dashboard.Record();
    ASSERT_TRUE(live.dashboard.Capture().Recording()) << c.legend;

    for (int k = 0; k < 40; ++k) {
        if (c.frames) {
            live.dashboard.FramePass(c.frame, FrameCycle(k, 1000 + 500 * k));
        } else {
            std::string read;
            for (int ch = 0; ch < kTextChannels; ++ch) read += Transducer(ch, 10 * k + ch) + "\n";
            if (c.text == links::TextLink::Tcp) read += GatewayCycle(k, 1000 + 500 * k);
            live.dashboard.TextPass(c.text, read);
        }
        live.clock.AdvanceSeconds(1);
    }
    live.dashboard.Record();  // stop
    ASSERT_FALSE(live.dashboard.Capture().Recording()) << c.legend;
    ASSERT_TRUE(live.prompt.MessageTexts().empty()) << c.legend;
    const std::vector<std::string> shown = live.Values();
    const int mapped = c.frames || c.text == links::TextLink::Tcp ? 5 : 0;
    for (int ch = 0; ch < kTextChannels + mapped; ++ch) {
        const int at = c.frames ? kFirstN2KChannel + ch % 5 : ch;
        ASSERT_NE(shown[static_cast<std::size_t>(at)], std::string(8, '\0'))
            << c.legend << ": live channel " << at << " shows nothing";
    }

    Rig played;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr) << path;
    ASSERT_TRUE(played.dashboard.Playback().Prepare(file, kind, 0));
    played.dashboard.Playback().Modes().Press(logs::PlaybackButton::FastForward);
    for (int i = 0; i < 1000; ++i) played.dashboard.Playback().Step();
    EXPECT_EQ(played.Values(), shown) << c.legend << extension;
    played.dashboard.Playback().Stop();
}

TEST_P(LogRoundTrip, TextLogPlaysBackToTheLiveValues) {
    RecordAndPlayBack(GetParam(), ".txt", logs::LogKind::Text);
}

// Frame logs are written by the frame links only.
class FrameLogRoundTrip : public LogRoundTrip {};

TEST_P(FrameLogRoundTrip, FrameLogPlaysBackToTheLiveValues) {
    RecordAndPlayBack(GetParam(), ".ebl", logs::LogKind::Ebl);
}

INSTANTIATE_TEST_SUITE_P(Links, LogRoundTrip,
                         ::testing::Values(LinkCase{"serial", false, links::TextLink::Serial, {}},
                                           LinkCase{"tcp", false, links::TextLink::Tcp, {}},
                                           LinkCase{"usb", false, links::TextLink::Usb, {}},
                                           LinkCase{"adapter", true, {}, links::FrameLink::Adapter},
                                           LinkCase{
                                               "tcpframes", true, {}, links::FrameLink::Network},
                                           LinkCase{"usbframes", true, {}, links::FrameLink::Usb}),
                         [](const auto& info) { return std::string(info.param.legend); });

INSTANTIATE_TEST_SUITE_P(
    Links, FrameLogRoundTrip,
    ::testing::Values(LinkCase{"adapterlog", true, {}, links::FrameLink::Adapter},
                      LinkCase{"tcpframeslog", true, {}, links::FrameLink::Network},
                      LinkCase{"usbframeslog", true, {}, links::FrameLink::Usb}),
    [](const auto& info) { return std::string(info.param.legend); });

}  // namespace
