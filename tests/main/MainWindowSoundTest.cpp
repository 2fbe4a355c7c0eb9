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

TEST_F(MainWindowTest, WithoutASoundDeviceBothSoundItemsAreGreyed) {
    Make({});
    soundFont.clear();
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    Start();
    qputenv("SDL_AUDIODRIVER", driver);
    ASSERT_FALSE(w->SoundDeviceOpen());
    for (const char* item : {"mZvuky", "mHudba"}) {
        EXPECT_FALSE(A(item)->isEnabled()) << item;
        EXPECT_FALSE(A(item)->isChecked()) << item;
    }
}

TEST_F(MainWindowTest, MusicThatCannotPlayIsReportedOnceAndSwitchedOff) {
    Make({});
    WriteFile(Root() + "data/music/track.mid", {'M', 'T', 'h', 'd'});
    // Frames that pass the check, events that are noise: each "ends" before it begins.
    std::vector<uint8_t> noise = {'M', 'T', 'h',  'd', 0,   0,   0,   6, 0, 0, 0,
                                  1,   1,   0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, 64};
    for (int i = 0; i < 64; ++i) noise.push_back(uint8_t(0xF7 + i * 37));
    WriteFile(Root() + "data/music/noise1.mid", noise);
    WriteFile(Root() + "data/music/noise2.mid", noise);
    std::filesystem::create_directories(Root() + "data/music/folder.mid");
    ModalDriver driver(AcceptEverything);
    soundFont.clear();
    Start();
    if (!w->Music().Available()) GTEST_SKIP() << "no audio device or no soundfont";
    ASSERT_TRUE(WaitUntil([&] { return w->MusicRound().empty() && driver.handled > 0; }, 10000));
    QTest::qWait(500);
    // Every file reported once, by name and what is wrong with it; then the music is off.
    const QString all = driver.messages.join('\n');
    for (const char* line : {"Soubor s hudbou „data/music/track.mid“ není platný soubor MIDI.",
                             "Soubor s hudbou „data/music/noise1.mid“ není platný soubor MIDI.",
                             "Soubor s hudbou „data/music/noise2.mid“ není platný soubor MIDI.",
                             "Soubor s hudbou „data/music/folder.mid“ nelze otevřít: na jeho "
                             "místě je složka."})
        EXPECT_EQ(all.count(QString::fromUtf8(line)), 1) << line << '\n' << all.toStdString();
    EXPECT_TRUE(driver.messages.back().endsWith(
        QStringLiteral("Jiná hudba nezbyla, hudba se proto vypíná.")));
    EXPECT_FALSE(A("mHudba")->isEnabled());
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_NE(w->Music().Mode(), MediaMode::Playing);
    w.reset();

    // Without a soundfont music cannot play: greyed and unchecked, without a message.
    const int before = int(driver.messages.size());
    for (const char* f : {"track.mid", "noise1.mid", "noise2.mid"})
        WriteFile(Root() + "data/music/" + f, Midi("c4/4"));
    soundFont = Root() + "no-such-font.sf2";  // one that is not there
    Start();
    EXPECT_FALSE(A("mHudba")->isEnabled());
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_EQ(driver.messages.size(), before);
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
