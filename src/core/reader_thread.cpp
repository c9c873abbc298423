#include "core/reader_thread.h"

namespace pelor::core {

bool ReaderThread::Start(std::function<void(std::stop_token)> body) {
    if (thread_.joinable()) return false;
    {
        std::lock_guard lock(mutex_);
        done_ = false;
    }
    thread_ = std::jthread([this, body = std::move(body)](std::stop_token token) {
        body(std::move(token));
        std::lock_guard lock(mutex_);
        done_ = true;
        ended_.notify_all();
    });
    return true;
}

bool ReaderThread::Stop(std::chrono::milliseconds grace) {
    if (!thread_.joinable()) return true;
    thread_.request_stop();
    bool inTime = true;
    {
        std::unique_lock lock(mutex_);
        inTime = ended_.wait_for(lock, grace, [this] { return done_; });
    }
    thread_.join();
    return inTime;
}

}  // namespace pelor::core
