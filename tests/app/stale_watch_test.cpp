// Which gauges are stale: quiet channels after the limit, every channel once the link is gone,
// nothing by time while a log plays back.
#include "app/stale_watch.h"

#include <gtest/gtest.h>

namespace {

using pelor::app::StaleWatch;
using Counts = std::array<std::uint32_t, 16>;

TEST(StaleWatch, QuietChannelsTurnStaleAfterTheLimitUntilTheirNextValue) {
    StaleWatch w;
    w.SetLimitMs(10000);
    Counts counts{};
    struct Step {
        const char* legend;
        std::int64_t nowMs;
        int channelUpdated;  // -1: none
        bool changed;
        std::uint16_t mask;
    };
    const Step kSteps[] = {
        {"first look: nothing is stale", 0, -1, false, 0x0000},
        {"channel 3 keeps receiving", 6000, 3, false, 0x0000},
        {"just before the limit", 9999, -1, false, 0x0000},
        {"at the limit every quiet channel is stale", 10000, -1, true, 0xFFF7},
        {"channel 3 has had its value 6 s ago: still fresh", 15000, -1, false, 0xFFF7},
        {"channel 3 too, 10 s after its value", 16000, -1, true, 0xFFFF},
        {"a value for channel 0 makes it fresh at once", 16250, 0, true, 0xFFFE},
        {"unchanged on the next look", 16500, -1, false, 0xFFFE},
    };
    for (const auto& s : kSteps) {
        if (s.channelUpdated >= 0) ++counts[static_cast<std::size_t>(s.channelUpdated)];
        EXPECT_EQ(w.Sample(counts, s.nowMs), s.changed) << s.legend;
        EXPECT_EQ(w.Mask(), s.mask) << s.legend;
    }
}

TEST(StaleWatch, ALostLinkMakesEveryValueStaleAndPlaybackOrZeroNeverByTime) {
    StaleWatch w;
    Counts counts{};
    w.SetLimitMs(10000);
    w.Sample(counts, 0);
    EXPECT_TRUE(w.MarkAllStale());
    EXPECT_FALSE(w.MarkAllStale()) << "already all stale";
    EXPECT_FALSE(w.Sample(counts, 100)) << "stays stale without new values";
    ++counts[5];
    EXPECT_TRUE(w.Sample(counts, 200));
    EXPECT_EQ(w.Mask(), 0xFFDF);

    StaleWatch paused;
    paused.SetLimitMs(10000);
    paused.SetSuspended(true);
    paused.Sample(counts, 0);
    EXPECT_FALSE(paused.Sample(counts, 60000));
    EXPECT_EQ(paused.Mask(), 0);
    paused.SetSuspended(false);
    EXPECT_TRUE(paused.Sample(counts, 60001));

    StaleWatch never;
    never.SetLimitMs(0);
    never.Sample(counts, 0);
    EXPECT_FALSE(never.Sample(counts, 3600000));
    EXPECT_EQ(never.Mask(), 0);
}

}  // namespace
