// The main window during play: new game, keys, pause, the frame rate caption, the
// shortcuts that open other windows.
#include "main/MainWindowFixture.h"

namespace pabuko {
namespace {

TEST_F(MainWindowTest, NewGameFromTheMenuAndFromF2DrawsFrames) {
    Make({});
    Start();
    A("mNova")->trigger();
    EXPECT_EQ(S().Level, 1);
    EXPECT_EQ(S().Lives, 3);
    EXPECT_TRUE(w->Timer().Enabled());
    EXPECT_TRUE(A("mPauza")->isEnabled());
    S().Score = 77;
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_EQ(S().Score, 1);  // a fresh game: 0 plus one spawn
    // The frames show the falling tile at its cell.
    ASSERT_TRUE(WaitUntil([this] {
        const FallingTile f = S().Falling;
        const Surface& b = w->DXDrawSurface().BackBuffer();
        return b.Pixel(layout::WellX(f.Column) + 7, layout::WellY(f.Row) + 7) == TilePixel(f.Code);
    }));
    EXPECT_EQ(w->DXDrawSurface().BackBuffer().Pixel(300, 5), BackgroundPixel());
}

TEST_F(MainWindowTest, ArrowsAndHSteerAndDownDropsFast) {
    Make({});
    Start();
    NewGameWithTile(1, 5, 2);
    QTest::keyPress(w.get(), Qt::Key_Left);
    ASSERT_TRUE(WaitUntil([this] { return S().Falling.Column == 3; }));
    QTest::keyRelease(w.get(), Qt::Key_Left);
    QTest::qWait(200);
    EXPECT_EQ(S().Falling.Column, 3);  // only held keys steer

    QTest::keyPress(w.get(), Qt::Key_Right);
    ASSERT_TRUE(WaitUntil([this] { return S().Falling.Column == 5; }));
    QTest::keyRelease(w.get(), Qt::Key_Right);

    QTest::keyPress(w.get(), Qt::Key_H);
    ASSERT_TRUE(WaitUntil([this] { return S().Falling.Column == 4; }));
    QTest::keyRelease(w.get(), Qt::Key_H);

    QTest::keyPress(w.get(), Qt::Key_Down);
    ASSERT_TRUE(WaitUntil([this] { return S().FallDelay == 20; }));
    QTest::keyRelease(w.get(), Qt::Key_Down);
    ASSERT_TRUE(WaitUntil([this] { return S().FallDelay == S().BaseDelay; }));
}

TEST_F(MainWindowTest, RightAtRowFourPushesIntoTheRightStack) {
    Make({});
    Start();
    NewGameWithTile(35, 11, 4);
    const uint16_t tilesBefore = S().TilesLeft;
    QTest::keyPress(w.get(), Qt::Key_Right);
    ASSERT_TRUE(WaitUntil([this] { return S().RightStack[0] != 0; }));
    QTest::keyRelease(w.get(), Qt::Key_Right);
    EXPECT_EQ(S().RightStack[0], 35);
    EXPECT_EQ(S().Falling.Row, 0);  // the next tile entered
    EXPECT_EQ(S().TilesLeft, tilesBefore - 1);
    ASSERT_TRUE(WaitUntil([this] {
        return w->DXDrawSurface().BackBuffer().Pixel(233 + 7, 226 + 7) == TilePixel(35);
    }));
}

TEST_F(MainWindowTest, KeysAreNotReadWhileAnotherWindowIsActive) {
    Make({});
    Start();
    NewGameWithTile(1, 8, 2);
    QTest::keyPress(w.get(), Qt::Key_Right);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    const int8_t column = S().Falling.Column;
    // Frames of their own, so that input frames come whatever the clock does.
    for (int i = 0; i < 6; ++i) w->DXTimerTimer(1);
    EXPECT_EQ(S().Falling.Column, column);
}

TEST_F(MainWindowTest, PauseAndResumeWithTheirCaptions) {
    Make({});
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    ASSERT_EQ(S().Level, 1);
    ASSERT_TRUE(A("mPauza")->isEnabled());
    QTest::keyClick(w.get(), Qt::Key_P);
    EXPECT_TRUE(A("mPauza")->isChecked());
    EXPECT_FALSE(w->Timer().Enabled());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hurbo's Pabuko - PAUZA"));
    QTest::qWait(100);  // no frame rewrites the caption
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hurbo's Pabuko - PAUZA"));
    QTest::keyClick(w.get(), Qt::Key_P);
    EXPECT_FALSE(A("mPauza")->isChecked());
    EXPECT_TRUE(w->Timer().Enabled());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hurbo's Pabuko"));
}

TEST_F(MainWindowTest, PauseToggleWithoutAGameLeavesTheTimerOff) {
    Make({});
    Start();
    w->mPauzaClick();
    w->mPauzaClick();
    EXPECT_FALSE(w->Timer().Enabled());
}

TEST_F(MainWindowTest, FpsCaptionShowsTheFrameRate) {
    Make({});
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_F);
    EXPECT_TRUE(A("mFPS")->isChecked());
    const QRegularExpression caption(QStringLiteral("^Hurbo's Pabuko (\\d+) fps$"));
    ASSERT_TRUE(WaitUntil([&] { return w->Timer().FrameRate() > 0; }, 2500));
    QTest::qWait(100);
    const auto m = caption.match(w->windowTitle());
    ASSERT_TRUE(m.hasMatch()) << w->windowTitle().toStdString();
    EXPECT_GE(m.captured(1).toInt(), 15);
    EXPECT_LE(m.captured(1).toInt(), 25);
    QTest::keyClick(w.get(), Qt::Key_F);
    ASSERT_TRUE(WaitUntil([&] { return w->windowTitle() == QStringLiteral("Hurbo's Pabuko"); }));
}

TEST_F(MainWindowTest, CtrlAltLWinsTheLevelOnlyDuringAGame) {
    Make({});
    int windows = 0;
    ModalDriver driver([&](QWidget* m) {
        ++windows;
        AcceptEverything(m);
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    QTest::qWait(100);
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(S().Level, 0);

    QTest::keyClick(w.get(), Qt::Key_F2);
    const int32_t score = S().Score;
    QTest::keyClick(w.get(), Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(S().Level, 2);
    EXPECT_EQ(S().TargetWord, "HALOS");
    EXPECT_TRUE(w->Timer().Enabled());
    // Level bonus 50 × 1, the right answer's 100, and the new level's spawn.
    EXPECT_EQ(S().Score, score + 50 + 100 + 1);
}

TEST_F(MainWindowTest, PlainLDuringPlayOpensTheLevelSetChoice) {
    Make({});
    QString caption;
    ModalDriver driver([&](QWidget* m) {
        caption = m->windowTitle();
        if (auto* d = qobject_cast<QDialog*>(m)) QTimer::singleShot(0, d, &QDialog::reject);
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_L);
    EXPECT_EQ(caption, QStringLiteral("Vyberte levely"));
    EXPECT_EQ(S().Level, 1);  // cancelled: the game goes on
}

TEST_F(MainWindowTest, TheKeyboardComesBackAfterTheTopListWindow) {
    Make({});
    ModalDriver driver([](QWidget* m) {
        if (auto* d = qobject_cast<QDialog*>(m)) QTimer::singleShot(0, d, &QDialog::reject);
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_T);
    ASSERT_EQ(driver.handled, 1);
    // Nobody else hands the focus back; the game must take it itself.
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get(), 2000));
    EXPECT_EQ(QApplication::activeWindow(), w.get());
}

}  // namespace
}  // namespace pabuko
