#pragma once
// Time as the logic sees it: wall-clock seconds, calendar fields, a monotonic millisecond
// count and sleeping.
#include <atomic>
#include <cstdint>
#include <ctime>

namespace pelor::core {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() = 0;  // seconds since 1970, UTC
    virtual std::tm ToLocal(std::time_t t) = 0;
    virtual std::tm ToUtc(std::time_t t) = 0;
    virtual std::int64_t MonotonicMs() = 0;
    virtual void SleepMs(int ms) = 0;
};

class SystemClock : public Clock {
public:
    std::time_t Now() override;
    std::tm ToLocal(std::time_t t) override;
    std::tm ToUtc(std::time_t t) override;
    std::int64_t MonotonicMs() override;
    void SleepMs(int ms) override;
};

// Test double: time moves only when the test advances it (or a sleep does). Local time is UTC.
class ManualClock : public Clock {
public:
    explicit ManualClock(std::time_t start = 0) : now_(start) {}
    std::time_t Now() override { return now_.load(); }
    std::tm ToLocal(std::time_t t) override { return ToUtc(t); }
    std::tm ToUtc(std::time_t t) override;
    std::int64_t MonotonicMs() override { return ms_.load(); }
    void SleepMs(int ms) override { AdvanceMs(ms); }

    void AdvanceSeconds(std::time_t s) {
        now_ += s;
        ms_ += s * 1000;
    }
    void AdvanceMs(std::int64_t ms) {
        const std::int64_t before = ms_.load();
        ms_ += ms;
        now_ += (before + ms) / 1000 - before / 1000;
    }

private:
    std::atomic<std::time_t> now_;
    std::atomic<std::int64_t> ms_{0};
};

}  // namespace pelor::core
