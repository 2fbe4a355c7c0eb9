// The SDL2 sound device under the dummy driver, which consumes audio at real time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "assets/WaveFile.h"
#include "assets/WaveList.h"
#include "platform/SoundDevice.h"

namespace pabuko {
namespace {

using namespace std::chrono_literals;

// Waits (generously, so a loaded machine does not fail it) until the condition holds.
template <class F>
bool Eventually(F condition, std::chrono::milliseconds limit = 5000ms) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

struct Recorder : SoundListener {
    std::vector<SoundNotice> seen;
    void SoundNotify(SoundNotice n) override { seen.push_back(n); }
};

class SoundDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(device.Initialize());
    }
    SoundDevice device;
    // A tenth of a second at 22050 Hz, 8-bit mono.
    std::vector<uint8_t> format = MakePcmFormat(1, 22050, 8);
    std::vector<uint8_t> samples = std::vector<uint8_t>(2205, 160);
};

TEST_F(SoundDeviceTest, PlayedBufferStopsAfterItsLength) {
    auto buffer = device.CreateBuffer(format, samples);
    EXPECT_FALSE(buffer->Status().Playing);
    const auto start = std::chrono::steady_clock::now();
    buffer->Play(false);
    EXPECT_TRUE(buffer->Status().Playing);
    EXPECT_FALSE(buffer->Status().Looping);
    ASSERT_TRUE(Eventually([&] { return !buffer->Status().Playing; }));
    // It ran for its length, not cut short.
    EXPECT_GE(std::chrono::steady_clock::now() - start, 80ms);
    EXPECT_EQ(buffer->Position(), 0u);
}

TEST_F(SoundDeviceTest, LoopedBufferPlaysOnUntilStopped) {
    auto buffer = device.CreateBuffer(format, samples);
    buffer->Play(true);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(buffer->Status().Playing);
    EXPECT_TRUE(buffer->Status().Looping);
    buffer->Stop();
    const auto status = buffer->Status();
    EXPECT_FALSE(status.Playing);
    EXPECT_FALSE(status.Looping);
}

TEST_F(SoundDeviceTest, DuplicatesShareSamplesButNotTheirCursor) {
    auto master = device.CreateBuffer(format, samples);
    auto copy = master->Duplicate();
    copy->SetPosition(1000);
    EXPECT_EQ(copy->Position(), 1000u);
    EXPECT_EQ(master->Position(), 0u);
    copy->SetPosition(999999);
    EXPECT_EQ(copy->Position(), 2205u);
    copy->Play(false);
    EXPECT_FALSE(master->Status().Playing);
    master.reset();  // the copy keeps the samples alive
    copy->SetPosition(0);
    copy->Play(false);
    EXPECT_TRUE(copy->Status().Playing);
    EXPECT_TRUE(Eventually([&] { return !copy->Status().Playing; }));
}

TEST_F(SoundDeviceTest, UnplayableFormatCannotBeMade) {
    auto format24 = MakePcmFormat(2, 44100, 24);
    try {
        device.CreateBuffer(format24, samples);
        FAIL() << "made a buffer of 24-bit samples";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Sound Buffer cannot be made");
    }
    EXPECT_THROW(device.CreateBuffer({}, samples), std::runtime_error);
}

TEST_F(SoundDeviceTest, ExtraSourceIsMixedIntoTheStream) {
    EXPECT_GT(device.SampleRate(), 0);
    std::atomic<int> frames{0};
    device.SetExtraSource([&](float*, int n) { frames += n; });
    EXPECT_TRUE(Eventually([&] { return frames.load() > 4410; }));
    device.SetExtraSource({});
    device.Lock();
    const int after = frames.load();
    device.Unlock();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(frames.load(), after);
}

// Mixes no block for a while: the audio thread waits and does not wake for silence.
void ExpectNoBlocksFor(const SoundDevice& device, std::chrono::milliseconds period) {
    const uint64_t before = device.BlocksMixed();
    std::this_thread::sleep_for(period);
    EXPECT_TRUE(device.Paused());
    EXPECT_EQ(device.BlocksMixed(), before);
}

TEST_F(SoundDeviceTest, PausesAfterTheLastVoiceAndResumesOnTheNextPlay) {
    ASSERT_TRUE(Eventually([&] { return device.Paused(); }));
    ExpectNoBlocksFor(device, 150ms);

    auto first = device.CreateBuffer(format, samples);
    auto second = first->Duplicate();
    for (int round = 0; round < 2; ++round) {
        const uint64_t before = device.BlocksMixed();
        first->Play(false);
        ASSERT_TRUE(Eventually([&] { return device.BlocksMixed() > before; }));
        // The second voice keeps the device running after the first one ends.
        second->Play(true);
        ASSERT_TRUE(Eventually([&] { return !first->Status().Playing; }));
        const uint64_t looping = device.BlocksMixed();
        ASSERT_TRUE(Eventually([&] { return device.BlocksMixed() > looping + 4; }));
        EXPECT_FALSE(device.Paused());
        second->Stop();
        ASSERT_TRUE(Eventually([&] { return device.Paused(); }));
        ExpectNoBlocksFor(device, 100ms);
    }
}

TEST_F(SoundDeviceTest, ExtraSourceKeepsTheDeviceRunningWhileItSounds) {
    std::atomic<int> frames{0};
    bool sounding = true;  // changed under the device lock
    device.SetExtraSource([&](float*, int n) { frames += n; }, [&] { return sounding; });
    ASSERT_TRUE(Eventually([&] { return frames.load() > 4410; }));
    EXPECT_FALSE(device.Paused());

    device.Lock();
    sounding = false;
    device.Unlock();
    ASSERT_TRUE(Eventually([&] { return device.Paused(); }));
    ExpectNoBlocksFor(device, 100ms);

    // Started under the lock, as the music player does: heard without any effect playing.
    device.Lock();
    sounding = true;
    const int before = frames.load();
    device.Unlock();
    ASSERT_TRUE(Eventually([&] { return frames.load() > before + 4410; }));

    // A source that cannot tell keeps the device running.
    device.SetExtraSource([&](float*, int n) { frames += n; });
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(device.Paused());
    device.SetExtraSource({});
    ASSERT_TRUE(Eventually([&] { return device.Paused(); }));
}

TEST_F(SoundDeviceTest, WaveListPlaysThroughTheDevice) {
    WaveList list;
    auto& item = list.Items.Add();
    item.SetWave({format, samples});
    auto& loop = list.Items.Add();
    loop.SetWave({format, samples});
    loop.SetLooped(true);
    // Linking to a device that is already open makes the master buffers at once.
    list.SetDXSound(&device);
    ASSERT_NE(item.Buffer(), nullptr);
    item.Play();
    item.Play();
    loop.Play();
    ASSERT_EQ(item.PlayCopies().size(), 2u);
    EXPECT_TRUE(item.PlayCopies()[1]->Status().Playing);
    ASSERT_TRUE(Eventually([&] { return !item.PlayCopies()[1]->Status().Playing; }));
    EXPECT_TRUE(loop.Buffer()->Status().Looping);
    item.Play();
    EXPECT_EQ(item.PlayCopies().size(), 2u);  // a finished copy is reused
    device.Finalize();
    EXPECT_FALSE(item.Initialized());
    EXPECT_EQ(item.Buffer(), nullptr);
}

TEST_F(SoundDeviceTest, ShippedEffectsAllMakeBuffers) {
    const char* build = std::getenv("PABUKO_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    WaveList list;
    list.SetDXSound(&device);
    list.Items.LoadFromFile(std::string(build) + "/data/sounds/sfx.qvs");
    // The game plays waves 0 to 10.
    ASSERT_EQ(list.Items.Count(), 11);
    for (int i = 0; i < list.Items.Count(); ++i) {
        EXPECT_NE(list.Items[i].Buffer(), nullptr) << i;
        list.Items[i].Play();
        EXPECT_TRUE(list.Items[i].PlayCopies().at(0)->Status().Playing) << i;
    }
}

TEST(SoundDeviceLifetime, TellsItsListsAndOutlivesNoBuffer) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Recorder rec;
    std::unique_ptr<SoundBuffer> stray;
    {
        SoundDevice device;
        device.Link(&rec);
        ASSERT_TRUE(device.Initialize());
        stray = device.CreateBuffer(MakePcmFormat(1, 8000, 8), std::vector<uint8_t>(800, 0));
        stray->Play(true);
        device.Finalize();
        EXPECT_FALSE(device.Initialized());
        EXPECT_EQ(device.SampleRate(), 0);
        ASSERT_TRUE(device.Initialize());
    }
    EXPECT_EQ(rec.seen, (std::vector<SoundNotice>{SoundNotice::Initialize, SoundNotice::Restore,
                                                  SoundNotice::Finalize, SoundNotice::Initialize,
                                                  SoundNotice::Restore, SoundNotice::Finalize,
                                                  SoundNotice::Destroying}));
    // A buffer kept past its device still answers, silently.
    stray->Stop();
    EXPECT_FALSE(stray->Status().Playing);
}

TEST(SoundDeviceLifetime, NoDeviceMeansUninitializedAndNoMessage) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Recorder rec;
    SoundDevice device;
    device.Link(&rec);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(device.Initialize());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(device.Initialized());
    EXPECT_TRUE(rec.seen.empty());
    EXPECT_THROW(device.CreateBuffer(MakePcmFormat(1, 8000, 8), {}), std::runtime_error);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
}  // namespace pabuko
