#pragma once
// A capture under test: scripted prompt, recording view, manual clock, a channel store and a
// playback engine whose window only records what it was asked, all over a fresh temporary
// directory. Helpers build checksummed transducer sentences and adapter frames.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/prompt.h"
#include "core/reader_thread.h"
#include "core/view.h"
#include "decode/channel_context.h"
#include "decode/channel_store.h"
#include "logs/capture.h"
#include "logs/playback.h"
#include "temp_dir.h"

namespace pelor::logs::testing {

// A temporary directory removed with everything in it.
struct TempDir : pelor::testing::TempDir {
    TempDir() : pelor::testing::TempDir("pelor-logs") {}
};

// "$IIXDR,G,<value 8>,G,<name 8><id>*hh\r" with its checksum.
std::string Sentence(std::string_view value, std::string_view name, char id);
// An adapter frame as it appears on the link, with stuffing: 10 02 93 L ... CK 10 03.
std::vector<std::uint8_t> Frame(std::uint32_t pgn, std::uint8_t source, std::uint32_t time,
                                const std::vector<std::uint8_t>& data);

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, std::string_view bytes);
void MakeReadOnly(const std::string& path);

class FakeWindow : public PlaybackWindow {
public:
    void Open() override { ++opened; }
    void ShowPosition(int position) override { shown.push_back(position); }
    void Close() override { ++closed; }
    int opened = 0;
    int closed = 0;
    std::vector<int> shown;
};

struct CaptureFixture {
    // The manual clock starts at 2026-12-04 19:49:00 UTC (local time is UTC on it).
    static constexpr std::time_t kStart = 1796413740;

    CaptureFixture();
    // Runs `n` capture ticks, one each `stepSeconds` seconds (advancing before each tick).
    void Ticks(int n, int stepSeconds);

    TempDir dir;
    core::ScriptedPrompt prompt;
    core::RecordingView view;
    core::ManualClock clock{kStart};
    decode::ChannelStore store;
    decode::ChannelContext context;
    core::ReaderThread thread;
    FakeWindow window;
    std::vector<std::string> sent;
    bool linkConnected = false;
    std::unique_ptr<Playback> playback;
    std::unique_ptr<Capture> capture;
};

}  // namespace pelor::logs::testing
