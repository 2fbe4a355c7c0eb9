// The synthesized sound effects: the format the game's mixer expects, levelled so that they
// leave the mixer room, starting and ending at silence, and each one its own sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

#include "ToolRun.h"
#include "platform/SoundMixer.h"

namespace pabuko::art_test {
namespace {

struct Effect {
    std::string file;
    uint16_t tag = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    std::vector<int16_t> samples;

    double Seconds() const { return double(samples.size()) / rate; }
    int Peak() const {
        int peak = 0;
        for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
        return peak;
    }
    double PeakDb() const { return 20 * std::log10(Peak() / 32768.0); }
    // Root mean square of `count` samples from `first`, relative to full scale.
    double Rms(size_t first, size_t count) const {
        double sum = 0;
        for (size_t i = first; i < first + count && i < samples.size(); ++i)
            sum += double(samples[i]) * samples[i];
        return std::sqrt(sum / double(count)) / 32768.0;
    }
    // Sign changes per second: a rough pitch and brightness measure.
    double Crossings() const {
        int n = 0;
        for (size_t i = 1; i < samples.size(); ++i)
            if ((samples[i - 1] < 0) != (samples[i] < 0)) ++n;
        return n / Seconds();
    }
};

uint32_t Le(const std::vector<char>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(uint8_t(b[at + i])) << (8 * i);
    return v;
}

// Our writer's layout: RIFF, "fmt " of 16 bytes, "data".
Effect ReadWav(const std::filesystem::path& path) {
    Effect e;
    e.file = path.filename().string();
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> b((std::istreambuf_iterator<char>(in)), {});
    if (b.size() < 44 || std::string(b.data(), 4) != "RIFF" ||
        std::string(b.data() + 8, 8) != "WAVEfmt " || std::string(b.data() + 36, 4) != "data")
        return e;
    e.tag = uint16_t(Le(b, 20, 2));
    e.channels = uint16_t(Le(b, 22, 2));
    e.rate = Le(b, 24, 4);
    e.bits = uint16_t(Le(b, 34, 2));
    const uint32_t bytes = std::min<uint32_t>(Le(b, 40, 4), uint32_t(b.size() - 44));
    for (uint32_t i = 0; i + 1 < bytes; i += 2) e.samples.push_back(int16_t(Le(b, 44 + i, 2)));
    return e;
}

class SoundEffects : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>("pabuko-sound-effects");
        ASSERT_EQ(Tool("sounds render " + dir_->Path().string()).status, 0);
        for (const char* name :
             {"sfx-00-landing", "sfx-01-clear", "sfx-02-remove-two", "sfx-03-remove-three",
              "sfx-04-clear-column", "sfx-05-delete-row", "sfx-06-stack-full", "sfx-07-life-lost",
              "sfx-08-game-over", "sfx-09-level-won", "sfx-10-last-level-won"})
            effects_.push_back(ReadWav(dir_->Path() / (std::string(name) + ".wav")));
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static std::unique_ptr<TempDir> dir_;
    static std::vector<Effect> effects_;
};

std::unique_ptr<TempDir> SoundEffects::dir_;
std::vector<Effect> SoundEffects::effects_;

TEST_F(SoundEffects, ElevenMonoSixteenBitEffectsAt22050Hz) {
    ASSERT_EQ(effects_.size(), 11u);
    for (const auto& e : effects_) {
        EXPECT_EQ(e.tag, 1) << e.file;
        EXPECT_EQ(e.channels, 1) << e.file;
        EXPECT_EQ(e.bits, 16) << e.file;
        EXPECT_EQ(e.rate, 22050u) << e.file;
        EXPECT_GT(e.Seconds(), 0.05) << e.file;
        EXPECT_LT(e.Seconds(), 3.0) << e.file;
    }
    // The landing sound comes with nearly every tile: it must be over quickly.
    EXPECT_LT(effects_[0].Seconds(), 0.2);
}

TEST_F(SoundEffects, PeaksLeaveHeadroomAndTheLandingSitsUnderTheFanfares) {
    for (const auto& e : effects_) {
        EXPECT_LE(e.PeakDb(), -6.0) << e.file;
        EXPECT_GE(e.PeakDb(), -20.0) << e.file;
    }
    // The thump of every tile must not compete with the tunes of a won or lost game.
    const double landing = effects_[0].PeakDb();
    for (size_t fanfare : {8, 9, 10}) {
        EXPECT_GE(effects_[fanfare].PeakDb() - landing, 8.0) << effects_[fanfare].file;
        EXPECT_LE(effects_[fanfare].PeakDb() - landing, 12.0) << effects_[fanfare].file;
    }
}

TEST_F(SoundEffects, StartAndEndAtSilenceWithoutClicks) {
    for (const auto& e : effects_) {
        ASSERT_GT(e.samples.size(), 200u) << e.file;
        EXPECT_LT(std::abs(e.samples.front()), 300) << e.file;
        EXPECT_LT(std::abs(e.samples.back()), 300) << e.file;
        // The sound fades in over a few milliseconds and out at the end: no sudden edge.
        int head = 0, tail = 0;
        for (size_t i = 0; i < 11; ++i) head = std::max(head, std::abs(int(e.samples[i])));
        for (size_t i = e.samples.size() - 44; i < e.samples.size(); ++i)
            tail = std::max(tail, std::abs(int(e.samples[i])));
        EXPECT_LT(head, e.Peak() * 0.35) << e.file;
        EXPECT_LT(tail, e.Peak() * 0.1) << e.file;
    }
}

// A sound that is still audible when it ends dies away over at least 60 ms: its last 10 ms
// are far quieter than the 10 ms that lie 60 ms before the end (a short fade of a held tone
// drops by only a few decibels there and sounds cut off).
TEST_F(SoundEffects, AnAudibleEndIsReleasedOverSixtyMilliseconds) {
    const size_t window = 22050 / 100;
    for (const auto& e : effects_) {
        const size_t n = e.samples.size();
        ASSERT_GT(n, 7 * window) << e.file;
        const double before = e.Rms(n - 7 * window, window);
        const double last = e.Rms(n - window, window);
        const double peak = e.Peak() / 32768.0;
        if (before < peak * 0.01) continue;  // already 40 dB down: nothing left to cut
        EXPECT_LT(20 * std::log10(last / before), -12.0) << e.file;
    }
}

// The three loudest effects started in the same instant, through the game's mixer at the
// device's rate: their levels alone keep the sum under full scale, so the limiter behind the
// mixer is left for the music and for many copies of one effect.
TEST_F(SoundEffects, TheLoudestThreeTogetherDoNotClipTheMixer) {
    std::vector<const Effect*> loud;
    for (const auto& e : effects_) loud.push_back(&e);
    std::sort(loud.begin(), loud.end(),
              [](const Effect* a, const Effect* b) { return a->Peak() > b->Peak(); });
    loud.resize(3);

    auto play = [](const std::vector<const Effect*>& effects) {
        std::vector<MixerVoice> voices(effects.size());
        SoundMixer mixer(44100);
        for (size_t i = 0; i < effects.size(); ++i) {
            auto s = std::make_shared<MixerSamples>();
            s->Rate = effects[i]->rate;
            s->BlockAlign = 2;
            for (int16_t v : effects[i]->samples) s->Samples.push_back(float(v) / 32768.0f);
            voices[i].Samples = s;
            voices[i].Playing = true;
            mixer.Add(&voices[i]);
        }
        float peak = 0;
        std::vector<float> block(2 * 512);
        for (int guard = 0; guard < 1000; ++guard) {
            std::fill(block.begin(), block.end(), 0.0f);
            mixer.Mix(block.data(), 512);
            for (float f : block) peak = std::max(peak, std::abs(f));
            if (std::none_of(voices.begin(), voices.end(),
                             [](const MixerVoice& v) { return v.Playing; }))
                break;
        }
        return peak;
    };
    EXPECT_LT(play(loud), 1.0f);
    // The measure itself: one effect alone comes out at its own peak.
    EXPECT_NEAR(play({loud[0]}), loud[0]->Peak() / 32768.0, 1e-4);
}

TEST_F(SoundEffects, EachEffectSoundsDifferent) {
    for (size_t i = 0; i < effects_.size(); ++i)
        for (size_t j = 0; j < i; ++j) {
            const auto& a = effects_[i];
            const auto& b = effects_[j];
            const bool lengthDiffers =
                std::abs(a.Seconds() - b.Seconds()) > 0.1 * std::max(a.Seconds(), b.Seconds());
            const bool toneDiffers = std::abs(a.Crossings() - b.Crossings()) >
                                     0.1 * std::max(a.Crossings(), b.Crossings());
            EXPECT_TRUE(lengthDiffers || toneDiffers) << a.file << " and " << b.file;
        }
}

}  // namespace
}  // namespace pabuko::art_test
