// The frame timer on a real event loop (the QApplication comes from MainWindowTest.cpp).
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <vector>

#include "display/FrameTimer.h"

namespace pabuko {
namespace {

TEST(FrameTimer, TicksNeverEarlyAndAlsoInsideAModalLoop) {
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
    TDXTimer timer;
    timer.SetActiveOnly(false);
    timer.SetInterval(40);
    std::vector<int32_t> lags;
    timer.OnTimer = [&](int32_t lag) {
        lags.push_back(lag);
        QTest::qSleep(100);
    };
    timer.SetEnabled(true);
    QTest::qWait(550);
    timer.SetEnabled(false);
    ASSERT_GE(lags.size(), 3u);
    ASSERT_LE(lags.size(), 6u);
    for (size_t i = 1; i < lags.size(); ++i) EXPECT_EQ(lags[i], 2) << i;
}

}  // namespace
}  // namespace pabuko
