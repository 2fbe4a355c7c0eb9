// The music player in the dummy driver's real-time stream, and the synthesizer's own end.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "assets/MusicSource.h"
#include "platform/MediaPlayer.h"
#include "platform/MidiSynth.h"
#include "platform/SoundDevice.h"

namespace pabuko {
namespace {

using namespace std::chrono_literals;

// A song of `quarters` quarter notes at 120 per minute, one piano note each.
std::vector<uint8_t> Song(int quarters) {
    std::string notes;
    for (int i = 0; i < quarters; ++i) notes += i % 2 ? " e4/4" : " c4/4";
    return CompileMusicSource(
        "tempo 120\npart p channel 1 instrument 1\nsection A\np:" + notes + "\nend\nplay A\n",
        "test");
}

class MediaPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI soundfont";
        ASSERT_TRUE(device.Initialize());
        player = std::make_unique<TMediaPlayer>(device, [this](std::function<void()> task) {
            std::lock_guard lock(mutex);
            queue.push_back(std::move(task));
        });
        player->OnNotify = [this] { ++notified; };
    }
    void TearDown() override { player.reset(); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }
    // Runs the posted notifications, as the user-interface thread's event loop would.
    void Pump() {
        std::vector<std::function<void()>> tasks;
        {
            std::lock_guard lock(mutex);
            tasks.swap(queue);
        }
        for (auto& t : tasks) t();
    }
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            Pump();
            if (done()) return true;
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }

    std::string dir = ::testing::TempDir();
    SoundDevice device;
    std::unique_ptr<TMediaPlayer> player;
    std::mutex mutex;
    std::vector<std::function<void()>> queue;
    int notified = 0;
};

TEST_F(MediaPlayerTest, APlayNotifiesOnceAtItsMusicalEnd) {
    player->FileName = Write("short.mid", Song(1));  // half a second
    player->Open();
    EXPECT_EQ(player->Mode(), MediaMode::Stopped);
    player->Play();
    EXPECT_EQ(player->Mode(), MediaMode::Playing);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntil([&] { return notified > 0; }, 10s));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(player->Mode(), MediaMode::Stopped);
    // After the note, not before it and not FluidSynth's own "done" seconds later.
    EXPECT_GE(took, 450ms);
    EXPECT_LT(took, 3000ms);
    // Once only; played again, it notifies again.
    EXPECT_FALSE(PumpUntil([&] { return notified > 1; }, 300ms));
    player->Play();
    ASSERT_TRUE(PumpUntil([&] { return notified == 2; }, 10s));
}

TEST_F(MediaPlayerTest, DevicePausesWhenTheMusicHasDiedAwayAndResumesOnPlay) {
    player->FileName = Write("long.mid", Song(120));
    player->Open();
    player->Play();
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(device.Paused());
    player->Stop();
    // The reverb rings on for a moment, then nothing is computed.
    ASSERT_TRUE(PumpUntil([&] { return device.Paused(); }, 10s));
    const uint64_t paused = device.BlocksMixed();
    player->Play();
    ASSERT_TRUE(PumpUntil([&] { return device.BlocksMixed() > paused + 8; }, 5s));
    EXPECT_FALSE(device.Paused());
}

TEST_F(MediaPlayerTest, StopCutsAtOnceAndEndsThePendingPlay) {
    player->FileName = Write("long.mid", Song(120));
    player->Open();
    player->Play();
    std::this_thread::sleep_for(100ms);
    player->Stop();
    EXPECT_EQ(player->Mode(), MediaMode::Stopped);
    // The cut-off play reports, once; the stopped player stays stopped.
    EXPECT_TRUE(PumpUntil([&] { return notified == 1; }, 1s));
    EXPECT_FALSE(PumpUntil([&] { return notified > 1; }, 300ms));
    EXPECT_EQ(player->Mode(), MediaMode::Stopped);

    // A new Open supersedes a playing file's notification too.
    player->Play();
    player->Notify = true;
    player->Open();
    EXPECT_TRUE(PumpUntil([&] { return notified == 3; }, 1s));
    EXPECT_EQ(player->Mode(), MediaMode::Stopped);
}

TEST_F(MediaPlayerTest, BadFilesAndStopWithoutAFile) {
    // Nothing opened: Stop is quiet.
    EXPECT_NO_THROW(player->Stop());
    EXPECT_EQ(player->Mode(), MediaMode::NotReady);
    player->FileName = Write("bad.mid", {'M', 'T', 'h', 'd'});
    try {
        player->Open();
        ADD_FAILURE() << "a damaged file opened";
    } catch (const MediaError& e) {
        EXPECT_NE(std::string(e.what()).find("bad.mid"), std::string::npos) << e.what();
    }
    // A track cut short is as bad as a damaged header.
    auto cut = Song(4);
    cut.resize(cut.size() - 10);
    player->FileName = Write("cut.mid", cut);
    EXPECT_THROW(player->Open(), MediaError);
    player->FileName = dir + "/missing.mid";
    EXPECT_THROW(player->Open(), MediaError);
    EXPECT_EQ(player->Mode(), MediaMode::NotReady);
    EXPECT_THROW(player->Play(), MediaError);
    PumpUntil([] { return false; }, 50ms);
    EXPECT_EQ(notified, 0);
}

TEST(MidiSynthTest, SynthesizerCutsAtOnceAndRendersAFileToItsEnd) {
    const std::string font = FindSoundFont();
    if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont";
    // Four quarters at 120 per minute: two seconds, then the last note's release.
    const auto samples = RenderMidiFile(Song(4), font, 44100);
    const double seconds = double(samples.size()) / 2 / 44100;
    EXPECT_GE(seconds, 2.0);
    EXPECT_LT(seconds, 3.5);
    float peak = 0;
    for (float s : samples) peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 0.05f);
    EXPECT_LT(peak, 1.0f);

    MidiSynth synth(44100);
    ASSERT_TRUE(synth.LoadSoundFont(font));
    EXPECT_FALSE(synth.Start({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 0, 1, 0}));  // no track
    ASSERT_TRUE(synth.Start(Song(8)));
    std::vector<float> block(2 * 4410);
    auto level = [&] {
        std::fill(block.begin(), block.end(), 0.0f);
        synth.Render(block.data(), 4410);
        double sum = 0;
        for (float s : block) sum += double(s) * s;
        return std::sqrt(sum / double(block.size()));
    };
    level();
    level();
    const double playing = level();
    synth.Stop();
    // The notes stop at once; only the room's short echo rings on, and dies.
    const double cut = level();
    level();
    level();  // FluidR3's room rings a little longer than TimGM6mb's
    const double later = level();
    EXPECT_GT(playing, 0.01);
    EXPECT_LT(cut, playing / 5);
    EXPECT_LT(later, playing / 20);
    EXPECT_FALSE(synth.Playing());
}

// Each track plays from a soundfont reduced to its instruments, whose samples are read when
// the track selects them: each sounds from the track's very first note, in every track, also
// the default ones no channel started with.
TEST(MidiSynthTest, AnInstrumentLoadedOnDemandSoundsFromTheFirstNote) {
    const std::string font = FindSoundFont();
    if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont";
    auto song = [](int instrument) {
        return CompileMusicSource("tempo 120\npart p channel 1 instrument " +
                                      std::to_string(instrument) +
                                      "\nsection A\np: a4/4 a4/4\nend\nplay A\n",
                                  "test");
    };
    // One note on a channel that never chooses an instrument: the piano, or on channel 10
    // the standard kit, is taken up for it then.
    auto unchosen = [](uint8_t channel, uint8_t key) {
        return std::vector<uint8_t>{'M',
                                    'T',
                                    'h',
                                    'd',
                                    0,
                                    0,
                                    0,
                                    6,
                                    0,
                                    0,
                                    0,
                                    1,
                                    1,
                                    0xE0,
                                    'M',
                                    'T',
                                    'r',
                                    'k',
                                    0,
                                    0,
                                    0,
                                    13,
                                    0,
                                    uint8_t(0x90 | channel),
                                    key,
                                    100,
                                    0x83,
                                    0x60,
                                    uint8_t(0x80 | channel),
                                    key,
                                    64,
                                    0,
                                    0xFF,
                                    0x2F,
                                    0};
    };
    MidiSynth synth(44100);
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> tracks = {
        {"violin", song(41)},
        {"trumpet", song(57)},
        {"the violin again", song(41)},
        {"the default piano", unchosen(0, 69)},
        {"the default kit", unchosen(9, 38)}};
    for (const auto& [name, track] : tracks) {
        ASSERT_TRUE(synth.LoadSoundFontFor(font, track)) << name;
        EXPECT_FALSE(synth.WholeSoundFont()) << name;
        ASSERT_TRUE(synth.Start(track));
        // The first tenth of a second, in blocks of an odd length.
        std::vector<float> first(2 * 4410, 0.0f);
        for (int done = 0; done < 4410; done += 441) synth.Render(first.data() + 2 * done, 441);
        double sum = 0;
        for (float s : first) sum += double(s) * s;
        EXPECT_GT(std::sqrt(sum / double(first.size())), 0.005) << name;
        // The room dies away before the next track, which then has only itself to be heard.
        synth.Stop();
        while (synth.Sounding()) synth.Render(first.data(), 441);
    }
}

// A track sounds the same from the soundfont reduced to it as from the whole font: every
// instrument, the kit's sounds, a channel that plays before it chooses its instrument.
// Each soundfont installed: TimGM6mb packs its samples without the zeros between them.
TEST(MidiSynthTest, AReducedSoundFontSoundsLikeTheWholeFont) {
    std::vector<std::string> fonts;
    for (const std::string& font :
         {FindSoundFont(), std::string("/usr/share/sounds/sf2/TimGM6mb.sf2"),
          std::string("/usr/share/sounds/sf2/FluidR3_GM.sf2")})
        if (!font.empty() && std::filesystem::exists(font)) fonts.push_back(font);
    if (fonts.empty()) GTEST_SKIP() << "no General MIDI soundfont";
    const auto track = CompileMusicSource(
        "tempo 150\npart lead channel 1 instrument 74\npart pad channel 2 instrument 49\n"
        "part kit channel 10\nsection A\nlead: c5/8 e5 g5 c6 g4/4 c4/2\n"
        "pad: c3+g3/2 f3+c4/2\nkit: bd/4 hh sn hh\nend\nplay A\n",
        "test");
    for (const std::string& font : fonts) {
        const auto reduced = RenderMidiFile(track, font, 44100);
        const auto whole = RenderMidiFile(track, font, 44100, 1200, true);
        ASSERT_GT(reduced.size(), 44100u) << font;
        ASSERT_EQ(reduced.size(), whole.size()) << font;
        float worst = 0, peak = 0;
        for (size_t i = 0; i < whole.size(); ++i) {
            worst = std::max(worst, std::fabs(reduced[i] - whole[i]));
            peak = std::max(peak, std::fabs(whole[i]));
        }
        EXPECT_GT(peak, 0.05f) << font;
        EXPECT_LT(worst, 1e-6f) << font;
    }
}

// Half-rate synthesis is brought back to the device's rate without colouring what is there:
// a 1 kHz tone comes out as the same tone, a short fixed delay later, in blocks of any size.
TEST(MidiSynthTest, UpsamplerDoublesTheRateOfATone) {
    constexpr double kPi = 3.14159265358979323846;
    auto tone = [&](int i, int rate) { return float(0.5 * std::sin(2 * kPi * 1000 * i / rate)); };
    std::vector<float> in(2 * 2205);
    for (int i = 0; i < 2205; ++i) {
        in[size_t(2 * i)] = tone(i, 22050);
        in[size_t(2 * i + 1)] = -tone(i, 22050);
    }
    Upsampler2x up;
    std::vector<float> out(2 * 4410);
    for (int done = 0, n = 1; done < 2205; done += n, n = n * 3 % 97 + 1) {
        n = std::min(n, 2205 - done);
        up.Process(in.data() + 2 * done, n, out.data() + 4 * done);
    }
    const int delay = 2 * Upsampler2x::kTaps;
    float worst = 0;
    for (int i = delay + 64; i < 4410; ++i) {
        worst = std::max(worst, std::fabs(out[size_t(2 * i)] - tone(i - delay, 44100)));
        worst = std::max(worst, std::fabs(out[size_t(2 * i + 1)] + tone(i - delay, 44100)));
    }
    EXPECT_LT(worst, 0.002f);
}

}  // namespace
}  // namespace pabuko
