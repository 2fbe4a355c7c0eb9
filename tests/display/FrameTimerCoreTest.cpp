#include <gtest/gtest.h>

#include "display/FrameTimerCore.h"

namespace pabuko {
namespace {

TEST(FrameTimerCore, NeverTicksBeforeTheIntervalAndCountsLag) {
    FrameTimerCore t;
    t.SetInterval(40);
    t.Restart(1000);
    EXPECT_FALSE(t.Tick(1039));
    EXPECT_EQ(t.MsUntilDue(1039), 1u);
    EXPECT_EQ(t.Tick(1040), 1);
    // 95 ms late: two whole intervals; the next one is measured from this tick.
    EXPECT_EQ(t.Tick(1135), 2);
    EXPECT_FALSE(t.Tick(1174));
    EXPECT_EQ(t.MsUntilDue(1150), 25u);
    EXPECT_EQ(t.Tick(1175), 1);
}

TEST(FrameTimerCore, SurvivesTheClockWrap) {
    FrameTimerCore t;
    t.SetInterval(40);
    t.Restart(0xFFFFFFF0u);
    EXPECT_FALSE(t.Tick(0x00000010u));  // 32 ms across the wrap
    EXPECT_EQ(t.Tick(0x00000018u), 1);  // 40 ms
}

TEST(FrameTimerCore, FrameRateIsZeroUntilAFullSecondThenTicksPerSecond) {
    FrameTimerCore t;
    t.SetInterval(40);
    t.Restart(0);
    uint32_t now = 0;
    for (int i = 0; i < 24; ++i) {
        now += 40;
        ASSERT_TRUE(t.Tick(now));
        EXPECT_EQ(t.FrameRate(), 0);
    }
    now += 40;  // 1000 ms: the threshold is inclusive
    t.Tick(now);
    EXPECT_EQ(t.FrameRate(), 25);
    // A slower second: 20 ticks of 50 ms.
    for (int i = 0; i < 20; ++i) t.Tick(now += 50);
    EXPECT_EQ(t.FrameRate(), 20);
}

TEST(FrameTimerCore, FrameRateRoundsHalfToEven) {
    FrameTimerCore t;
    t.SetInterval(0);
    t.Restart(0);
    // 3 ticks in 1200 ms = 2.5 per second → 2; then 7 in 2000 ms = 3.5 → 4.
    for (uint32_t at : {300u, 600u}) t.Tick(at);
    t.Tick(1200);
    EXPECT_EQ(t.FrameRate(), 2);
    for (uint32_t at : {1300u, 1400u, 1500u, 1600u, 1700u, 1800u}) t.Tick(at);
    t.Tick(3200);
    EXPECT_EQ(t.FrameRate(), 4);
}

TEST(FrameTimerCore, IntervalZeroTicksEveryCallWithElapsedAsLag) {
    FrameTimerCore t;
    t.SetInterval(0);
    t.Restart(100);
    EXPECT_EQ(t.Tick(100), 1);  // nothing elapsed: still at least 1
    EXPECT_EQ(t.Tick(107), 7);
}

TEST(FrameTimerCore, RestartKeepsFrameRateAndDelaysTheNextTick) {
    FrameTimerCore t;
    t.SetInterval(40);
    t.Restart(0);
    for (uint32_t now = 40; now <= 1000; now += 40) t.Tick(now);
    ASSERT_EQ(t.FrameRate(), 25);
    t.Restart(5000);
    EXPECT_EQ(t.FrameRate(), 25);
    EXPECT_FALSE(t.Tick(5039));
    EXPECT_EQ(t.Tick(5040), 1);
}

}  // namespace
}  // namespace pabuko
