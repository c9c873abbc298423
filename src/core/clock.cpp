#include "core/clock.h"

#include <chrono>
#include <thread>

namespace pelor::core {

std::time_t SystemClock::Now() {
    return std::time(nullptr);
}

std::tm SystemClock::ToLocal(std::time_t t) {
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

std::tm SystemClock::ToUtc(std::time_t t) {
    std::tm out{};
    gmtime_r(&t, &out);
    return out;
}

std::int64_t SystemClock::MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::tm ManualClock::ToUtc(std::time_t t) {
    std::tm out{};
    gmtime_r(&t, &out);
    return out;
}

}  // namespace pelor::core
