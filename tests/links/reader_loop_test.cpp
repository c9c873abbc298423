// The one reader loop over a scripted byte source: each connection kind's reads reach its own
// pass, purge requests are taken by every kind but the adapter, and a failing device ends the
// reader while the link stays open.
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/view.h"
#include "decode/channel_store.h"
#include "links/connection_kind.h"
#include "links/reader_pass.h"

namespace pelor::links {
namespace {

using namespace std::chrono_literals;

// Hands out the chunks it was given, one a read; fails when told to.
class ScriptedSource final : public ByteSource {
public:
    void Add(std::string chunk) {
        std::lock_guard lock(mutex_);
        chunks_.push_back(std::move(chunk));
    }
    void Fail() { failing_ = true; }
    int Purges() const { return purges_; }

    bool Open() const override { return true; }
    std::optional<bool> WholeReadWaiting(std::size_t size, bool) override {
        if (failing_) return std::nullopt;
        std::lock_guard lock(mutex_);
        return !chunks_.empty() && chunks_.front().size() >= size;
    }
    int Read(std::span<std::uint8_t> buffer) override {
        std::lock_guard lock(mutex_);
        const std::string chunk = chunks_.front();
        chunks_.pop_front();
        std::copy_n(chunk.begin(), buffer.size(), buffer.begin());
        return static_cast<int>(buffer.size());
    }
    void Purge() override { ++purges_; }
    bool FillsInSteps() const override { return false; }

private:
    std::mutex mutex_;
    std::deque<std::string> chunks_;
    std::atomic<bool> failing_{false};
    std::atomic<int> purges_{0};
};

struct Received {
    bool frames = false;
    decode::LinkKind text{};
    FrameLink frame{};
    std::string bytes;
};

struct LoopFixture {
    decode::ChannelStore store;
    core::RecordingView view;
    std::mutex mutex;
    std::vector<Received> received;
    std::atomic<int> resets{0};
    ReaderSinks sinks{store,
                      view,
                      [this](decode::LinkKind link, std::string_view b) {
                          std::lock_guard lock(mutex);
                          received.push_back({false, link, {}, std::string(b)});
                      },
                      [this](FrameLink link, std::string_view b) {
                          std::lock_guard lock(mutex);
                          received.push_back({true, {}, link, std::string(b)});
                      },
                      [this] { ++resets; },
                      nullptr};

    // Runs the loop of `kind` until `done` holds or two seconds pass.
    void Run(ScriptedSource& source, const ConnectionKind& kind, std::size_t readSize,
             const std::function<bool()>& done) {
        std::jthread reader(
            [&](std::stop_token token) { RunReaderLoop(source, sinks, kind, readSize, token); });
        const auto end = std::chrono::steady_clock::now() + 2s;
        while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(10ms);
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return received.size();
    }
};

TEST(ReaderLoop, EachKindHandsItsReadsToItsOwnPass) {
    for (const int type : {0, 3, 5, 6, 7}) {
        const ConnectionKind& kind = *FindConnectionKind(type);
        LoopFixture f;
        ScriptedSource source;
        source.Add("$IIXDR,one*00\r\n");
        source.Add("$IIXDR,two*00\r\n");
        f.Run(source, kind, 15, [&] { return f.Count() == 2; });
        ASSERT_EQ(f.Count(), 2u) << "type " << type;
        for (const Received& r : f.received) {
            EXPECT_EQ(r.frames, kind.n2k) << "type " << type;
            if (kind.n2k) {
                EXPECT_EQ(r.frame, kind.frameLink) << "type " << type;
            } else {
                EXPECT_EQ(r.text, kind.textLink) << "type " << type;
            }
        }
        EXPECT_EQ(f.received[1].bytes, "$IIXDR,two*00\r\n");
        // A frame pass ends with the caption and a repaint; the text pass does its own.
        EXPECT_EQ(f.view.RepaintCount() > 0, kind.n2k) << "type " << type;
    }
}

TEST(ReaderLoop, PurgeRequestsAreTakenByEveryKindButTheAdapter) {
    for (const int type : {0, 2, 3, 4}) {
        const ConnectionKind& kind = *FindConnectionKind(type);
        LoopFixture f;
        ScriptedSource source;
        f.store.PurgeRequest = 1;
        source.Add("0123456789");
        f.Run(source, kind, 10, [&] { return f.Count() == 1; });
        ASSERT_EQ(f.Count(), 1u) << "type " << type;
        const bool taken = type != 3;
        EXPECT_EQ(f.store.PurgeRequest, taken ? 0 : 1) << "type " << type;
        EXPECT_EQ(source.Purges(), taken ? 1 : 0) << "type " << type;
        EXPECT_EQ(f.resets.load(), taken ? 1 : 0) << "type " << type;
    }
}

TEST(ReaderLoop, AFailingDeviceEndsTheReaderWithoutAStop) {
    LoopFixture f;
    ScriptedSource source;
    source.Add("0123456789");
    source.Fail();
    std::atomic<bool> ended{false};
    std::jthread reader([&](std::stop_token token) {
        RunReaderLoop(source, f.sinks, *FindConnectionKind(0), 10, token);
        ended = true;
    });
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (!ended && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(ended);
    EXPECT_EQ(f.Count(), 0u);
    EXPECT_TRUE(source.Open()) << "the link stays open until the user disconnects";
}

}  // namespace
}  // namespace pelor::links
