#pragma once
// What the link tests share: sinks that collect what the readers hand over, and a
// pseudo-terminal whose far side the test drives.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "core/prompt.h"
#include "core/view.h"
#include "decode/channel_store.h"
#include "links/reader_pass.h"

namespace pelor::links::testing {

// Collects the bytes each pass received, per kind of pass.
class Collector {
public:
    void Add(std::string_view bytes, bool frames);
    std::string Text() const;
    std::string Frames() const;
    int Passes() const;
    std::vector<std::size_t> PassSizes() const;
    // Waits until `done` holds over the collected text (and frames), up to `limit`.
    bool WaitFor(
        const std::function<bool(const std::string& text, const std::string& frames)>& done,
        std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::string text_;
    std::string frames_;
    std::vector<std::size_t> sizes_;
};

struct SinkFixture {
    decode::ChannelStore store;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    Collector collected;
    std::atomic<int> resets{0};
    std::atomic<int> textPassesOnOtherLinks{0};
    ReaderSinks sinks{store,
                      view,
                      [this](TextLink, std::string_view b) { collected.Add(b, false); },
                      [this](FrameLink, std::string_view b) { collected.Add(b, true); },
                      [this] { ++resets; },
                      {}};
};

// A pseudo-terminal pair: the link opens SlavePath(); the test reads and writes Master().
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    const std::string& SlavePath() const { return path_; }
    int Master() const { return master_; }
    void Write(std::string_view bytes) const;
    // Reads what arrives within `limit` (until `count` bytes or the time runs out).
    std::string Read(std::size_t count, std::chrono::milliseconds limit) const;
    void CloseMaster();

private:
    int master_ = -1;
    int slaveKeeper_ = -1;
    std::string path_;
};

}  // namespace pelor::links::testing
