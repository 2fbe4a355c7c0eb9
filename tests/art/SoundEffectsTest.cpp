// The synthesized sound effects: the format the game's mixer expects, audible but never
// clipped, starting and ending at silence, and each one its own sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

#include "ToolRun.h"

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

TEST_F(SoundEffects, LoudEnoughButNeverClipped) {
    for (const auto& e : effects_) {
        EXPECT_GT(e.Peak(), 16000) << e.file;
        EXPECT_LT(e.Peak(), 31000) << e.file;
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
