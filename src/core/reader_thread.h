#pragma once
// A reader thread that stops cooperatively: the body checks its stop token at every pass.
// Stopping waits a bounded time for the body to end and reports when it did not; the thread is
// joined in every case, so a reader never outlives the objects it writes to.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace pelor::core {

class ReaderThread {
public:
    ReaderThread() = default;
    ReaderThread(const ReaderThread&) = delete;
    ReaderThread& operator=(const ReaderThread&) = delete;
    ~ReaderThread() { Stop(std::chrono::milliseconds(0)); }

    // Starts `body` on a new thread; false when one is already running.
    bool Start(std::function<void(std::stop_token)> body);
    bool Running() const { return thread_.joinable(); }
    // True when a started body has returned on its own (or was stopped) and not been joined
    // yet: a reader that gave up on its device.
    bool Ended() const {
        std::lock_guard lock(mutex_);
        return thread_.joinable() && done_;
    }

    // Asks the body to stop and waits up to `grace` for it. Returns false when it had not ended
    // within that time; the thread is joined before returning either way.
    bool Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(5000));

private:
    std::jthread thread_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
};

}  // namespace pelor::core
