// The main window's sound and LED line: effects, music track after track, the chatter.
#include "main/MainWindowFixture.h"

namespace pabuko {
namespace {

TEST_F(MainWindowTest, EffectsPlayThroughTheWaveListOnlyWithTheSoundItemChecked) {
    Make({});
    Start();
    if (!w->SoundDeviceOpen()) GTEST_SKIP() << "no audio device, not even the dummy one";
    WaveCollection& waves = w->Waves().Items;
    QTest::keyClick(w.get(), Qt::Key_F7);
    EXPECT_FALSE(A("mZvuky")->isChecked());
    w->PlayWave(4);
    EXPECT_TRUE(waves[4].PlayCopies().empty());
    QTest::keyClick(w.get(), Qt::Key_F7);
    EXPECT_TRUE(A("mZvuky")->isChecked());
    w->PlayWave(4);
    ASSERT_EQ(waves[4].PlayCopies().size(), 1u);
    EXPECT_TRUE(waves[4].PlayCopies()[0]->Status().Playing);
    w->PlayWave(11);  // beyond the list: nothing, no error
    w->PlayWave(-1);
}

TEST_F(MainWindowTest, LedLineScrollsTheChatterInTurnAndStopsWithThePause) {
    Make({});
    const std::string qvt = WriteChatterFile({"%Cprvni", "druha", "treti"});
    WriteFile(Root() + "data/skins/new.qvt", {qvt.begin(), qvt.end()});
    Start();
    TVrMatrix& led = w->LedLine();
    EXPECT_EQ(led.geometry(), QRect(9, 304, 382, 20));
    EXPECT_EQ(led.Matrix().Leds(), 24);
    EXPECT_EQ(led.Text(), "%Cprvni");
    ASSERT_TRUE(led.ScrollTimer().isActive());
    EXPECT_EQ(led.ScrollTimer().interval(), 250);

    // PRVNI leaves after 5 steps, every later line after its length + 24.
    auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i) led.TimerTick();
    };
    ticks(4);
    EXPECT_EQ(led.Text(), "%Cprvni");
    ticks(1);
    EXPECT_EQ(led.Text(), "druha");
    EXPECT_TRUE(led.ScrollTimer().isActive());  // re-armed after the step
    ticks(29);
    EXPECT_EQ(led.Text(), "treti");
    ticks(29);
    EXPECT_EQ(led.Text(), "%Cprvni");
    ticks(3);

    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_P);
    ASSERT_TRUE(A("mPauza")->isChecked());
    EXPECT_FALSE(led.AutoScroll());
    EXPECT_FALSE(led.ScrollTimer().isActive());
    led.TimerTick();
    led.grab();  // a repaint while stopped shows the line from its first character
    EXPECT_EQ(led.Matrix().Position(), 1);
    QTest::keyClick(w.get(), Qt::Key_P);
    EXPECT_TRUE(led.AutoScroll());
    EXPECT_TRUE(led.ScrollTimer().isActive());
    led.TimerTick();
    EXPECT_EQ(led.Matrix().Position(), 2);

    // Loading the skin again starts its chatter from the first line.
    ticks(5);
    ASSERT_EQ(led.Text(), "druha");
    w->LoadSkin();
    EXPECT_EQ(led.Text(), "%Cprvni");
    EXPECT_EQ(w->Chatter().ChatterIndex, 0);
}

TEST_F(MainWindowTest, MusicGoesTrackAfterTrackStopsWithF6AndStartsAfreshWithF6) {
    Make({});
    // One short file: it comes again and again.
    WriteFile(Root() + "data/music/track.mid", Midi("c5/16", 240));
    soundFont.clear();
    Start();
    if (!A("mHudba")->isEnabled()) GTEST_SKIP() << "no audio device or no soundfont";
    TMediaPlayer& music = w->Music();
    EXPECT_EQ(music.Mode(), MediaMode::Playing);
    int ended = 0, restarted = 0;
    music.OnNotify = [&, handler = music.OnNotify] {
        const bool stopped = music.Mode() == MediaMode::Stopped;
        handler();
        ended += stopped;
        restarted += stopped && music.Mode() == MediaMode::Playing;
    };
    ASSERT_TRUE(WaitUntil([&] { return restarted >= 2; }, 15000));
    EXPECT_EQ(ended, restarted);

    QTest::keyClick(w.get(), Qt::Key_F6);
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_EQ(music.Mode(), MediaMode::Stopped);
    // The cut-off track's notification comes and starts nothing, nor does anything later.
    const int before = ended;
    ASSERT_TRUE(WaitUntil([&] { return ended > before; }));
    QTest::qWait(1000);
    EXPECT_EQ(music.Mode(), MediaMode::Stopped);

    QTest::keyClick(w.get(), Qt::Key_F6);
    EXPECT_TRUE(A("mHudba")->isChecked());
    EXPECT_EQ(music.Mode(), MediaMode::Playing);
}

TEST_F(MainWindowTest, MusicThatCannotPlayIsReportedOrGreyedAndSwitchingOffIsQuiet) {
    Make({});
    WriteFile(Root() + "data/music/track.mid", {'M', 'T', 'h', 'd'});
    ModalDriver driver(AcceptEverything);
    soundFont.clear();
    Start();
    if (!A("mHudba")->isEnabled()) GTEST_SKIP() << "no audio device or no soundfont";
    // The damaged file is reported at the start; the item stays as it was.
    ASSERT_EQ(driver.messages.size(), 1);
    EXPECT_TRUE(driver.messages[0].contains(QStringLiteral("track.mid")))
        << driver.messages[0].toStdString();
    EXPECT_TRUE(A("mHudba")->isChecked());
    // Nothing was ever opened: switching off says nothing.
    QTest::keyClick(w.get(), Qt::Key_F6);
    QTest::qWait(100);
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_EQ(driver.messages.size(), 1);
    w.reset();

    // Without a soundfont music cannot play: greyed and unchecked, without a message.
    WriteFile(Root() + "data/music/track.mid", Midi("c4/4"));
    soundFont = Root() + "no-such-font.sf2";  // one that is not there
    Start();
    EXPECT_FALSE(A("mHudba")->isEnabled());
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_EQ(driver.messages.size(), 1);
}

TEST(MusicTrackIndexTest, IsTheGeneratorsDrawCutToItsLowEightBits) {
    // Random(n) steps the seed first: 0xFFFFFFFF becomes 4160191484, i.e. 0.9686 of the range.
    EXPECT_EQ(MusicTrackIndex(0xFFFFFFFFu, 3), 2u);
    EXPECT_EQ(MusicTrackIndex(0xFFFFFFFFu, 300), 290u - 256u);
    EXPECT_EQ(MusicTrackIndex(0, 300), 0u);
    bool seen[3] = {};
    for (uint32_t seed = 0; seed < 100000; seed += 7) {
        EXPECT_LT(MusicTrackIndex(seed * 40503u, 300), 256u);
        const uint32_t i = MusicTrackIndex(seed * 40503u, 3);
        ASSERT_LT(i, 3u);
        seen[i] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

}  // namespace
}  // namespace pabuko
