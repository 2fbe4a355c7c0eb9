// The frame timer on a real event loop.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <vector>

#include "QtTestApp.h"
#include "display/FrameTimer.h"

namespace pabuko {
namespace {

TEST(FrameTimer, TicksNeverEarlyAndAlsoInsideAModalLoop) {
    testing::TestApp();
    TDXTimer timer;
    timer.SetActiveOnly(false);  // the test runner's application need not be active
    timer.SetInterval(40);
    std::vector<uint32_t> ticks;
    std::vector<int32_t> lags;
    timer.OnTimer = [&](int32_t lag) {
        ticks.push_back(timer.Now());
        lags.push_back(lag);
    };
    timer.SetEnabled(true);
    timer.SetEnabled(true);  // no restart
    QDialog dialog;
    size_t beforeDialog = 0;
    QTimer::singleShot(200, &dialog, [&] {
        beforeDialog = ticks.size();
        dialog.exec();
    });
    QTimer::singleShot(700, &dialog, [&] { dialog.accept(); });
    QTest::qWait(900);
    timer.SetEnabled(false);
    const size_t total = ticks.size();
    QTest::qWait(100);
    EXPECT_EQ(ticks.size(), total);  // stopped means no more ticks

    ASSERT_GE(beforeDialog, 3u);
    EXPECT_GE(total - beforeDialog, 8u);  // the dialog's own loop drove ticks
    for (size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_GE(ticks[i] - ticks[i - 1], 40u) << i;
        EXPECT_EQ(lags[i], int32_t((ticks[i] - ticks[i - 1]) / 40)) << i;
    }
}

TEST(FrameTimer, SlowHandlerGetsLagAndOneCallPerTick) {
    testing::TestApp();
    TDXTimer timer;
    timer.SetActiveOnly(false);
    uint32_t now = 5000;
    timer.Now = [&] { return now; };
    timer.SetInterval(40);
    std::vector<int32_t> lags;
    timer.OnTimer = [&](int32_t lag) {
        lags.push_back(lag);
        now += 100;  // the handler takes 100 ms
        if (lags.size() == 5) timer.SetEnabled(false);
    };
    timer.SetEnabled(true);
    now += 40;  // the first tick is due
    for (int i = 0; i < 500 && timer.Enabled(); ++i) QTest::qWait(5);
    QTest::qWait(20);  // a stopped timer calls no more
    // Each late tick counts the intervals that passed, and is still one call.
    EXPECT_EQ(lags, (std::vector<int32_t>{1, 2, 2, 2, 2}));
}

}  // namespace
}  // namespace pabuko
