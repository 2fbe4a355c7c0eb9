// The sound device where the backend opens a second device, so that the music plays on a
// stream of its own: a private PulseAudio server with a null sink, which consumes audio at
// real time like a sound card.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "assets/MusicSource.h"
#include "assets/WaveFile.h"
#include "platform/MediaPlayer.h"
#include "platform/MidiSynth.h"
#include "platform/SoundDevice.h"

extern char** environ;

namespace pabuko {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

template <class F>
bool Eventually(F condition, std::chrono::milliseconds limit = 10000ms) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

// Starts a PulseAudio server of its own for the suite, with its runtime folder and socket in
// a temporary folder, so that neither a user's server nor the dummy driver is used.
class TwoStreamTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const fs::path program = "/usr/bin/pulseaudio";
        if (!fs::exists(program)) return;
        folder_ = fs::temp_directory_path() / ("pabuko-pulse-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        const std::string socket = (folder_ / "native").string();
        const std::string runtime = "XDG_RUNTIME_DIR=" + folder_.string();
        const std::string home = "HOME=" + folder_.string();
        const std::string protocol =
            "module-native-protocol-unix auth-anonymous=1 socket=" + socket;
        std::vector<std::string> args = {
            program.string(),      "--daemonize=no",
            "--exit-idle-time=-1", "-n",
            "--use-pid-file=no",   "--load=module-null-sink",
            "--load=" + protocol,  "--log-target=newfile:" + (folder_ / "log").string()};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env = {runtime, home, "PATH=/usr/bin:/bin"};
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&server_, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
            server_ = 0;
            return;
        }
        if (!Eventually([&] { return fs::exists(socket); })) return;
        setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
        ready_ = true;
    }
    static void TearDownTestSuite() {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
        unsetenv("PULSE_SERVER");
        if (!folder_.empty()) fs::remove_all(folder_);
    }
    void SetUp() override {
        if (!ready_)
            GTEST_SKIP() << "no PulseAudio server could be started (apt-get install "
                            "pulseaudio): the music's own stream is not tested";
        setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
        ASSERT_TRUE(device.Initialize());
        ASSERT_TRUE(device.MusicHasItsOwnStream());
    }
    void TearDown() override {
        device.Finalize();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    static inline pid_t server_ = 0;
    static inline bool ready_ = false;
    static inline fs::path folder_;
    SoundDevice device;
};

TEST_F(TwoStreamTest, MusicAndEffectsSoundSideBySideAndEachStreamPausesInSilence) {
    std::atomic<int> frames{0}, largest{0};
    bool sounding = true;  // changed under the device lock
    device.SetExtraSource(
        [&](float* out, int n) {
            frames += n;
            largest = std::max(largest.load(), n);
            for (int i = 0; i < 2 * n; ++i) out[i] += 0.1f;
        },
        [&] { return sounding; });
    ASSERT_TRUE(Eventually([&] { return frames.load() > 44100; }));
    // The music comes in large blocks, not in the effects' short ones: its stream goes to
    // the server straight and asks for more than an SDL device's 4096 frames at a time.
    EXPECT_GT(largest.load(), 4096);
    EXPECT_FALSE(device.MusicPaused());

    // An effect plays to its end beside the music.
    auto effect = device.CreateBuffer(MakePcmFormat(1, 22050, 8), std::vector<uint8_t>(2205, 160));
    effect->Play(false);
    ASSERT_TRUE(Eventually([&] { return !effect->Status().Playing; }));

    // Silent music pauses its stream; an effect wakes the effects' stream only.
    device.Lock();
    sounding = false;
    device.Unlock();
    ASSERT_TRUE(Eventually([&] { return device.MusicPaused(); }));
    ASSERT_TRUE(Eventually([&] { return device.Paused(); }));
    const uint64_t musicBlocks = device.MusicBlocksMixed();
    const uint64_t blocks = device.BlocksMixed();
    const int heard = frames.load();
    effect->Play(false);
    ASSERT_TRUE(Eventually([&] { return device.BlocksMixed() > blocks; }));
    ASSERT_TRUE(Eventually([&] { return !effect->Status().Playing; }));
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(device.MusicPaused());
    EXPECT_EQ(device.MusicBlocksMixed(), musicBlocks);
    EXPECT_EQ(frames.load(), heard);
    EXPECT_TRUE(device.Paused());

    // Started under the lock, the music is heard again without any effect.
    device.Lock();
    sounding = true;
    device.Unlock();
    ASSERT_TRUE(Eventually([&] { return frames.load() > heard + 44100; }));
    EXPECT_FALSE(device.MusicPaused());
    device.SetExtraSource({});
    ASSERT_TRUE(Eventually([&] { return device.Paused(); }));
}

// The music's stream keeps three quarters of a second queued; a stop must not leave it to play out.
TEST_F(TwoStreamTest, ADiscardedQueueIsNotHeard) {
    const fs::path parec = "/usr/bin/parec";
    if (!fs::exists(parec)) GTEST_SKIP() << "no parec (apt-get install pulseaudio-utils)";
    std::atomic<int> frames{0};
    bool sounding = true;  // changed under the device lock
    device.SetExtraSource(
        [&](float* out, int n) {
            frames += n;
            for (int i = 0; i < 2 * n; ++i) out[i] += 0.25f;
        },
        [&] { return sounding; });
    ASSERT_TRUE(Eventually([&] { return frames.load() > 2 * 44100; }));  // the queue is full

    // What the null sink plays, recorded from its monitor with a short latency.
    const fs::path recording = folder_ / "heard.raw";
    std::vector<std::string> args = {
        parec.string(),       "-d",           "null.monitor", "--raw",
        "--format=float32le", "--channels=1", "--rate=44100", "--latency-msec=10",
        recording.string()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t recorder = 0;
    ASSERT_EQ(posix_spawn(&recorder, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    ASSERT_TRUE(Eventually([&] {
        std::error_code error;
        return fs::file_size(recording, error) >= 4 * 4410 && !error;  // a tenth of a second
    }));
    device.Lock();
    sounding = false;
    device.Unlock();
    device.DiscardQueuedMusic();
    std::this_thread::sleep_for(1500ms);
    kill(recorder, SIGTERM);
    waitpid(recorder, nullptr, 0);

    std::ifstream in(recording, std::ios::binary);
    std::vector<float> heard;
    for (float x; in.read(reinterpret_cast<char*>(&x), sizeof x);) heard.push_back(x);
    ASSERT_GT(heard.size(), size_t(44100));
    size_t lastLoud = 0;
    for (size_t i = 0; i < heard.size(); ++i)
        if (std::fabs(heard[i]) > 0.1f) lastLoud = i;
    // Recorded for a tenth of a second before the stop; a queue left to play out would add
    // three quarters of a second and more.
    EXPECT_LT(double(lastLoud) / 44100, 0.5);
    EXPECT_GT(lastLoud, size_t(0));
    device.SetExtraSource({});
}

TEST_F(TwoStreamTest, ATrackPlaysToItsEndOnTheMusicStream) {
    if (FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI soundfont";
    std::mutex mutex;
    std::vector<std::function<void()>> queue;
    int notified = 0;
    auto pumpUntil = [&](auto done) {
        return Eventually([&] {
            std::vector<std::function<void()>> tasks;
            {
                std::lock_guard lock(mutex);
                tasks.swap(queue);
            }
            for (auto& t : tasks) t();
            return done();
        });
    };
    TMediaPlayer player(device, [&](std::function<void()> task) {
        std::lock_guard lock(mutex);
        queue.push_back(std::move(task));
    });
    player.OnNotify = [&] { ++notified; };
    const auto song = CompileMusicSource(
        "tempo 120\npart p channel 1 instrument 1\nsection A\np: c4/4 e4/4\nend\nplay A\n", "test");
    player.FileName = (fs::path(::testing::TempDir()) / "two-streams.mid").string();
    std::ofstream(player.FileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(song.data()), std::streamsize(song.size()));
    player.Open();
    const uint64_t before = device.MusicBlocksMixed();
    player.Play();
    ASSERT_TRUE(pumpUntil([&] { return notified == 1; }));
    EXPECT_GT(device.MusicBlocksMixed(), before + 5);  // a second of music at least
    EXPECT_EQ(player.Mode(), MediaMode::Stopped);
    // Once the room has died away, nothing is computed.
    ASSERT_TRUE(Eventually([&] { return device.MusicPaused(); }));
    // Played again, and cut off.
    player.Play();
    ASSERT_TRUE(Eventually([&] { return !device.MusicPaused(); }));
    player.Stop();
    ASSERT_TRUE(pumpUntil([&] { return notified == 2; }));
    ASSERT_TRUE(Eventually([&] { return device.MusicPaused(); }));
}

}  // namespace
}  // namespace pabuko
