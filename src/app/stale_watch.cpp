#include "app/stale_watch.h"

namespace pelor::app {

bool StaleWatch::Sample(const std::array<std::uint32_t, decode::kChannelCount>& counts,
                        std::int64_t nowMs) {
    if (!started_) {
        // The first look: what is there now counts as just received.
        started_ = true;
        counts_ = counts;
        changedAt_.fill(nowMs);
    }
    const std::uint16_t before = mask_;
    for (std::size_t c = 0; c < counts.size(); ++c) {
        const auto bit = static_cast<std::uint16_t>(1U << c);
        if (counts[c] != counts_[c]) {
            counts_[c] = counts[c];
            changedAt_[c] = nowMs;
            mask_ = static_cast<std::uint16_t>(mask_ & ~bit);
        } else if (!suspended_ && limitMs_ > 0 && nowMs - changedAt_[c] >= limitMs_) {
            mask_ = static_cast<std::uint16_t>(mask_ | bit);
        }
    }
    return mask_ != before;
}

bool StaleWatch::MarkAllStale() {
    const std::uint16_t before = mask_;
    mask_ = 0xFFFF;
    return mask_ != before;
}

}  // namespace pelor::app
