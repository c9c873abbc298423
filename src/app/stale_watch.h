#pragma once
// Which channels' values are no longer current. The window samples the channels' update
// counters a few times a second; a channel whose counter has not moved for the limit is
// stale until its next value. A link that ends or is closed makes every shown value stale at
// once. While a log plays back nothing turns stale by time: the playback banner says what
// the picture is.
#include <array>
#include <cstdint>

#include "decode/channel_store.h"

namespace pelor::app {

inline constexpr int kDefaultStaleSeconds = 10;

class StaleWatch {
public:
    // 0 or less: values never turn stale by time alone.
    void SetLimitMs(std::int64_t ms) { limitMs_ = ms; }
    void SetSuspended(bool suspended) { suspended_ = suspended; }

    // Takes the counters at `nowMs` (monotonic). True when the stale set changed.
    bool Sample(const std::array<std::uint32_t, decode::kChannelCount>& counts, std::int64_t nowMs);

    // Every value shown stops being current (the link went away). True when that changed
    // anything.
    bool MarkAllStale();

    std::uint16_t Mask() const { return mask_; }

private:
    std::array<std::uint32_t, decode::kChannelCount> counts_{};
    std::array<std::int64_t, decode::kChannelCount> changedAt_{};
    std::int64_t limitMs_ = std::int64_t{kDefaultStaleSeconds} * 1000;
    bool suspended_ = false;
    bool started_ = false;
    std::uint16_t mask_ = 0;
};

}  // namespace pelor::app
