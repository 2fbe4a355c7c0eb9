#pragma once
// The software mixer behind the sound device: waves are converted once to float at their
// own rate, and every playing voice is resampled into the device's stereo float stream.
// Plain C++ so that it is tested without an audio device.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace pabuko {

// A wave's samples as floats in -1..1, interleaved, at the wave's own rate.
struct MixerSamples {
    int Channels = 1;
    uint32_t Rate = 0;
    // Bytes per frame of the original data; buffer positions are given in them.
    uint32_t BlockAlign = 1;
    std::vector<float> Samples;

    uint32_t Frames() const { return static_cast<uint32_t>(Samples.size() / Channels); }
};

inline constexpr uint32_t kMinFrequency = 100;
inline constexpr uint32_t kMaxFrequency = 200000;

// nullptr unless the format block is PCM, 8-bit unsigned or 16-bit signed, mono or stereo,
// at 100 to 200000 samples per second. A trailing partial frame is dropped.
std::shared_ptr<const MixerSamples> ConvertSamples(std::span<const uint8_t> format,
                                                   std::span<const uint8_t> data);

struct MixerVoice {
    std::shared_ptr<const MixerSamples> Samples;
    uint64_t Position = 0;  // in frames, 32.32 fixed point
    bool Playing = false;
    bool Looping = false;
    int32_t Frequency = 0;  // 0: the samples' own rate
    int32_t Pan = 0;
    int32_t Volume = 0;
};

// Gains of the left and right channel for a pan and volume in hundredths of a decibel.
struct StereoGain {
    float Left;
    float Right;
};
StereoGain GainFor(int32_t pan, int32_t volume);

class SoundMixer {
  public:
    explicit SoundMixer(uint32_t outputRate) : outputRate_(outputRate) {}

    uint32_t OutputRate() const { return outputRate_; }
    void SetOutputRate(uint32_t rate) { outputRate_ = rate; }
    void Add(MixerVoice* voice);
    void Remove(MixerVoice* voice);
    size_t VoiceCount() const { return voices_.size(); }
    bool AnyPlaying() const;
    // While muted voices run on unheard (the program does not have the focus).
    void SetMuted(bool muted) { muted_ = muted; }
    bool Muted() const { return muted_; }

    // Adds every playing voice into `out` (interleaved stereo, `frames` frames) and advances
    // it; a voice that is not looped stops at its end, back at position 0.
    void Mix(float* out, int frames);

    // Keeps the finished block (voices and music) within full scale: a block that would
    // exceed it is turned down as a whole, and the gain comes back to 1 over kReleaseMs.
    // Anything under full scale passes bit for bit, so a single effect plays unchanged;
    // only loud effects that meet (any number of copies may sound at once) are limited,
    // without the distortion of a hard clip.
    void Limit(float* out, int frames);
    float LimiterGain() const { return limiterGain_; }
    static constexpr float kCeiling = 1.0f;
    static constexpr float kReleaseMs = 150.0f;

  private:
    uint32_t outputRate_;
    bool muted_ = false;
    float limiterGain_ = 1.0f;
    std::vector<MixerVoice*> voices_;
};

// Mixes one voice; exposed for the tests and the benchmark.
void MixVoice(MixerVoice& voice, float* out, int frames, uint32_t outputRate, bool audible);

}  // namespace pabuko
