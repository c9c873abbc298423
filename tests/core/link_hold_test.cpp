#include "core/link_hold.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using pelor::core::LinkHold;
using pelor::core::LinkPass;

// The programmer must not touch the line while a reader is inside its pass: taking the hold
// waits for the running pass to end, and no pass starts while the hold is kept.
TEST(LinkHold, TakingWaitsForTheRunningPassAndKeepsNewPassesOff) {
    LinkHold hold;
    std::atomic<bool> inPass{false};
    std::atomic<bool> passEnded{false};
    std::thread reader([&] {
        const LinkPass pass(&hold);
        ASSERT_TRUE(pass);
        inPass = true;
        std::this_thread::sleep_for(150ms);
        passEnded = true;
    });
    while (!inPass) std::this_thread::sleep_for(1ms);
    hold.Take();
    EXPECT_TRUE(passEnded) << "the hold was taken while a reader pass was still running";
    EXPECT_TRUE(hold.Held());
    EXPECT_FALSE(LinkPass(&hold)) << "a pass started while the link was held";
    reader.join();
    hold.Release();
    EXPECT_FALSE(hold.Held());
    EXPECT_TRUE(LinkPass(&hold));
    EXPECT_TRUE(LinkPass(nullptr)) << "a reader without a hold always runs";
}

}  // namespace
