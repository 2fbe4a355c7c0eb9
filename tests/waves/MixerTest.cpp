#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/WaveFile.h"
#include "platform/SoundMixer.h"

namespace pabuko {
namespace {

std::shared_ptr<const MixerSamples> Pcm(uint16_t channels, uint32_t rate, uint16_t bits,
                                        std::vector<uint8_t> data) {
    return ConvertSamples(MakePcmFormat(channels, rate, bits), data);
}

std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t s : samples) {
        out.push_back(static_cast<uint8_t>(s & 0xFF));
        out.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return out;
}

// Mixes a playing voice block by block until it stops; returns the frames it sounded.
int FramesUntilStopped(MixerVoice& v, uint32_t outRate, int block = 512) {
    std::vector<float> out(2 * block);
    int frames = 0;
    v.Playing = true;
    for (int guard = 0; guard < 100000 && v.Playing; ++guard) {
        std::fill(out.begin(), out.end(), 0.0f);
        const uint64_t before = v.Position;
        MixVoice(v, out.data(), block, outRate, true);
        if (v.Playing) {
            frames += block;
        } else {
            // The block in which it ended: count the frames up to the end.
            const uint32_t count = v.Samples->Frames();
            const uint64_t rate = v.Frequency > 0 ? uint64_t(v.Frequency) : v.Samples->Rate;
            const uint64_t step = (rate << 32) / outRate;
            uint64_t p = before;
            while (p < (uint64_t{count} << 32)) p += step, ++frames;
        }
    }
    return frames;
}

TEST(MixerConversion, EightBitIsUnsignedAroundTheMiddle) {
    auto s = Pcm(1, 22050, 8, {0, 128, 255, 64});
    ASSERT_TRUE(s);
    ASSERT_EQ(s->Frames(), 4u);
    EXPECT_FLOAT_EQ(s->Samples[0], -1.0f);
    EXPECT_FLOAT_EQ(s->Samples[1], 0.0f);
    EXPECT_FLOAT_EQ(s->Samples[2], 127.0f / 128.0f);
    EXPECT_FLOAT_EQ(s->Samples[3], -0.5f);
    EXPECT_EQ(s->BlockAlign, 1u);
}

TEST(MixerConversion, SixteenBitIsSignedLittleEndian) {
    auto s = Pcm(2, 44100, 16, Pcm16({-32768, 32767, 0, 16384}));
    ASSERT_TRUE(s);
    ASSERT_EQ(s->Frames(), 2u);
    EXPECT_FLOAT_EQ(s->Samples[0], -1.0f);
    EXPECT_FLOAT_EQ(s->Samples[1], 32767.0f / 32768.0f);
    EXPECT_FLOAT_EQ(s->Samples[2], 0.0f);
    EXPECT_FLOAT_EQ(s->Samples[3], 0.5f);
    EXPECT_EQ(s->BlockAlign, 4u);
}

TEST(MixerConversion, PartialLastFrameIsDropped) {
    auto s = Pcm(2, 44100, 16, {1, 2, 3, 4, 5, 6, 7});
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Frames(), 1u);
    EXPECT_EQ(Pcm(1, 8000, 16, {})->Frames(), 0u);
}

TEST(MixerConversion, RejectsWhatItCannotPlay) {
    EXPECT_FALSE(ConvertSamples({}, std::vector<uint8_t>{1, 2}));
    auto format = MakePcmFormat(1, 22050, 8);
    format.resize(15);
    EXPECT_FALSE(ConvertSamples(format, {}));
    EXPECT_FALSE(Pcm(3, 22050, 16, {}));
    EXPECT_FALSE(Pcm(0, 22050, 16, {}));
    EXPECT_FALSE(Pcm(1, 22050, 24, {}));
    EXPECT_FALSE(Pcm(1, 99, 8, {}));
    EXPECT_FALSE(Pcm(1, 200001, 8, {}));
    auto adpcm = MakePcmFormat(1, 22050, 16);
    adpcm[0] = 2;
    EXPECT_FALSE(ConvertSamples(adpcm, {}));
    // A longer record (with its extra-size word) is still PCM.
    auto extended = MakePcmFormat(1, 22050, 16);
    extended.insert(extended.end(), {0, 0});
    EXPECT_TRUE(ConvertSamples(extended, {}));
}

TEST(MixerPlayback, MonoGoesToBothChannelsAtTheSameRate) {
    MixerVoice v;
    v.Samples = Pcm(1, 44100, 16, Pcm16({8192, -16384, 4096}));
    v.Playing = true;
    std::vector<float> out(2 * 4, 0.0f);
    MixVoice(v, out.data(), 4, 44100, true);
    const float expected[] = {0.25f, -0.5f, 0.125f, 0.0f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(out[2 * i], expected[i]) << i;
        EXPECT_FLOAT_EQ(out[2 * i + 1], expected[i]) << i;
    }
    EXPECT_FALSE(v.Playing);
    EXPECT_EQ(v.Position, 0u);
}

TEST(MixerPlayback, StereoChannelsStayApartAndVoicesAdd) {
    MixerVoice a, b;
    a.Samples = Pcm(2, 44100, 16, Pcm16({8192, -8192}));
    b.Samples = Pcm(1, 44100, 8, {192});
    a.Playing = b.Playing = true;
    SoundMixer mixer(44100);
    mixer.Add(&a);
    mixer.Add(&b);
    mixer.Add(&a);
    EXPECT_EQ(mixer.VoiceCount(), 2u);
    std::vector<float> out(2, 0.0f);
    mixer.Mix(out.data(), 1);
    EXPECT_FLOAT_EQ(out[0], 0.25f + 0.5f);
    EXPECT_FLOAT_EQ(out[1], -0.25f + 0.5f);
    mixer.Remove(&a);
    EXPECT_EQ(mixer.VoiceCount(), 1u);
}

TEST(MixerPlayback, UpsamplingInterpolatesAndHoldsTheLastFrame) {
    MixerVoice v;
    v.Samples = Pcm(1, 22050, 16, Pcm16({0, 16384}));
    v.Playing = true;
    std::vector<float> out(2 * 6, 0.0f);
    MixVoice(v, out.data(), 6, 44100, true);
    const float expected[] = {0.0f, 0.25f, 0.5f, 0.5f, 0.0f, 0.0f};
    for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(out[2 * i], expected[i]) << i;
}

TEST(MixerPlayback, ResampledLengthFollowsTheRates) {
    for (const uint32_t rate : {8000u, 11025u, 22050u, 44100u, 48000u}) {
        MixerVoice v;
        v.Samples = Pcm(1, rate, 8, std::vector<uint8_t>(rate / 10, 200));
        // A tenth of a second of samples lasts a tenth of a second at any rate.
        EXPECT_NEAR(FramesUntilStopped(v, 44100), (rate / 10) * 44100.0 / rate, 1) << rate;
        EXPECT_EQ(v.Position, 0u);
    }
    MixerVoice fast;
    fast.Samples = Pcm(1, 22050, 8, std::vector<uint8_t>(2205, 200));
    fast.Frequency = 44100;
    EXPECT_EQ(FramesUntilStopped(fast, 44100), 2205);
}

TEST(MixerPlayback, LoopedVoiceWrapsAndKeepsPlaying) {
    MixerVoice v;
    v.Samples = Pcm(1, 44100, 16, Pcm16({1000, 2000, 3000}));
    v.Playing = v.Looping = true;
    std::vector<float> out(2 * 7, 0.0f);
    MixVoice(v, out.data(), 7, 44100, true);
    EXPECT_TRUE(v.Playing);
    EXPECT_TRUE(v.Looping);
    EXPECT_FLOAT_EQ(out[2 * 3], 1000.0f / 32768.0f);
    EXPECT_FLOAT_EQ(out[2 * 6], 1000.0f / 32768.0f);
    EXPECT_EQ(v.Position >> 32, 1u);
}

TEST(MixerPlayback, PanAndVolumeFollowDecibels) {
    const auto centre = GainFor(0, 0);
    EXPECT_FLOAT_EQ(centre.Left, 1.0f);
    EXPECT_FLOAT_EQ(centre.Right, 1.0f);
    const auto right = GainFor(10000, 0);
    EXPECT_FLOAT_EQ(right.Left, 0.0f);
    EXPECT_FLOAT_EQ(right.Right, 1.0f);
    const auto left = GainFor(-600, -600);
    EXPECT_NEAR(left.Left, 0.501f, 0.001f);
    EXPECT_NEAR(left.Right, 0.251f, 0.001f);
    EXPECT_FLOAT_EQ(GainFor(0, -20000).Left, 0.0f);
    EXPECT_FLOAT_EQ(GainFor(0, 500).Left, 1.0f);
}

TEST(MixerPlayback, MutedVoicesRunOnUnheard) {
    MixerVoice v;
    v.Samples = Pcm(1, 44100, 8, std::vector<uint8_t>(100, 255));
    v.Playing = true;
    SoundMixer mixer(44100);
    mixer.Add(&v);
    mixer.SetMuted(true);
    std::vector<float> out(2 * 60, 0.0f);
    mixer.Mix(out.data(), 60);
    for (float f : out) EXPECT_EQ(f, 0.0f);
    EXPECT_EQ(v.Position >> 32, 60u);
    mixer.SetMuted(false);
    mixer.Mix(out.data(), 60);
    EXPECT_FALSE(v.Playing);
    EXPECT_GT(out[0], 0.9f);
    EXPECT_EQ(out[2 * 45], 0.0f);
}

// The limiter behind the mixer: under full scale nothing changes; a block that would pass it
// is turned down as a whole (its shape kept, not clipped); the gain then comes back.
TEST(MixerLimiter, LeavesQuietSoundAloneAndTurnsLoudBlocksDownWithoutClipping) {
    SoundMixer mixer(44100);
    std::vector<float> quiet(2 * 512);
    for (size_t i = 0; i < quiet.size(); ++i) quiet[i] = 0.99f * ((i / 2) % 7 == 3 ? -1.0f : 0.3f);
    std::vector<float> out = quiet;
    mixer.Limit(out.data(), 512);
    EXPECT_EQ(out, quiet);

    std::vector<float> loud(2 * 512);
    for (size_t i = 0; i < loud.size(); ++i) loud[i] = (i / 2) % 4 == 1 ? 1.5f : -0.6f;
    out = loud;
    mixer.Limit(out.data(), 512);
    float peak = 0;
    for (float f : out) peak = std::max(peak, std::abs(f));
    EXPECT_FLOAT_EQ(peak, SoundMixer::kCeiling);
    EXPECT_FLOAT_EQ(out[0] / out[2], loud[0] / loud[2]);  // scaled, not flattened at the top

    // Quiet blocks bring the gain back up over the release time, never past 1, and never
    // let a block pass full scale on the way.
    const int releaseBlocks = int(SoundMixer::kReleaseMs * 44100 / 1000 / 512) + 2;
    for (int b = 0; b < releaseBlocks; ++b) {
        std::copy(quiet.begin(), quiet.end(), out.begin());
        mixer.Limit(out.data(), 512);
        for (float f : out) EXPECT_LE(std::abs(f), SoundMixer::kCeiling);
        if (b == 0) {
            EXPECT_LT(std::abs(out.back()), std::abs(quiet.back()));
        }
    }
    EXPECT_FLOAT_EQ(mixer.LimiterGain(), 1.0f);
    out = quiet;
    mixer.Limit(out.data(), 512);
    EXPECT_EQ(out, quiet);
}

}  // namespace
}  // namespace pabuko
