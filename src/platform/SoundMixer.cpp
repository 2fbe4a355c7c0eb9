#include "platform/SoundMixer.h"

#include <algorithm>
#include <cmath>

#include "platform/LittleEndian.h"
#include "platform/WaveFormat.h"

namespace pabuko {

std::shared_ptr<const MixerSamples> ConvertSamples(std::span<const uint8_t> format,
                                                   std::span<const uint8_t> data) {
    const auto f = ParseWaveFormat(format);
    if (!f || f->Tag != kWaveFormatPcm) return nullptr;
    if (f->Channels != 1 && f->Channels != 2) return nullptr;
    if (f->BitsPerSample != 8 && f->BitsPerSample != 16) return nullptr;
    if (f->SamplesPerSec < kMinFrequency || f->SamplesPerSec > kMaxFrequency) return nullptr;

    auto out = std::make_shared<MixerSamples>();
    out->Channels = f->Channels;
    out->Rate = f->SamplesPerSec;
    // The record's own block align is not trusted: the layout follows from the rest.
    const uint32_t bytesPerSample = f->BitsPerSample / 8u;
    out->BlockAlign = bytesPerSample * f->Channels;
    const size_t samples = data.size() / out->BlockAlign * f->Channels;
    out->Samples.resize(samples);
    if (bytesPerSample == 1) {
        for (size_t i = 0; i < samples; ++i)
            out->Samples[i] = (static_cast<float>(data[i]) - 128.0f) / 128.0f;
    } else {
        for (size_t i = 0; i < samples; ++i) {
            const auto s = static_cast<int16_t>(LoadU16(data, 2 * i));
            out->Samples[i] = static_cast<float>(s) / 32768.0f;
        }
    }
    return out;
}

StereoGain GainFor(int32_t pan, int32_t volume) {
    const auto decibels = [](int32_t hundredths) {
        return hundredths <= -10000 ? 0.0f
                                    : static_cast<float>(std::pow(10.0, hundredths / 2000.0));
    };
    const float gain = decibels(std::clamp(volume, -10000, 0));
    pan = std::clamp(pan, -10000, 10000);
    return {gain * decibels(std::min(0, -pan)), gain * decibels(std::min(0, pan))};
}

void MixVoice(MixerVoice& voice, float* out, int frames, uint32_t outputRate, bool audible) {
    if (!voice.Playing) return;
    const MixerSamples* s = voice.Samples.get();
    const uint32_t count = s ? s->Frames() : 0;
    if (count == 0 || outputRate == 0) {
        voice.Playing = false;
        voice.Position = 0;
        return;
    }
    const uint64_t rate = voice.Frequency > 0
                              ? std::clamp<uint32_t>(static_cast<uint32_t>(voice.Frequency),
                                                     kMinFrequency, kMaxFrequency)
                              : s->Rate;
    const uint64_t step = (rate << 32) / outputRate;
    const uint64_t end = static_cast<uint64_t>(count) << 32;
    const StereoGain g = audible ? GainFor(voice.Pan, voice.Volume) : StereoGain{0, 0};
    const float* x = s->Samples.data();
    const bool stereo = s->Channels == 2;
    uint64_t pos = voice.Position;
    if (pos >= end) pos = voice.Looping ? pos % end : end;

    for (int i = 0; i < frames && pos < end; ++i) {
        const auto idx = static_cast<uint32_t>(pos >> 32);
        const float frac = static_cast<float>(pos & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
        // Past the last frame a loop runs into its start; a single play holds the last one.
        const uint32_t next = idx + 1 < count ? idx + 1 : (voice.Looping ? 0 : idx);
        float left, right;
        if (stereo) {
            left = x[2 * idx] + (x[2 * next] - x[2 * idx]) * frac;
            right = x[2 * idx + 1] + (x[2 * next + 1] - x[2 * idx + 1]) * frac;
        } else {
            left = right = x[idx] + (x[next] - x[idx]) * frac;
        }
        out[2 * i] += left * g.Left;
        out[2 * i + 1] += right * g.Right;
        pos += step;
        if (pos >= end && voice.Looping) pos %= end;
    }
    if (pos >= end) {
        voice.Playing = false;
        voice.Looping = false;
        pos = 0;
    }
    voice.Position = pos;
}

void SoundMixer::Add(MixerVoice* voice) {
    if (std::find(voices_.begin(), voices_.end(), voice) == voices_.end()) voices_.push_back(voice);
}

void SoundMixer::Remove(MixerVoice* voice) {
    std::erase(voices_, voice);
}

bool SoundMixer::AnyPlaying() const {
    return std::any_of(voices_.begin(), voices_.end(),
                       [](const MixerVoice* v) { return v->Playing; });
}

void SoundMixer::Mix(float* out, int frames) {
    for (auto* v : voices_) MixVoice(*v, out, frames, outputRate_, !muted_);
}

void SoundMixer::Limit(float* out, int frames) {
    if (frames <= 0) return;
    float peak = 0.0f;
    for (int i = 0; i < 2 * frames; ++i) peak = std::max(peak, std::abs(out[i]));
    const float allowed = peak > kCeiling ? kCeiling / peak : 1.0f;
    if (allowed <= limiterGain_) {
        // Down at once, for the whole block: no sample of it passes the ceiling.
        limiterGain_ = allowed;
        if (allowed < 1.0f)
            for (int i = 0; i < 2 * frames; ++i) out[i] *= allowed;
        return;
    }
    // Back up gradually, never above what this block allows.
    const float perFrame = outputRate_ > 0 ? 1000.0f / (kReleaseMs * float(outputRate_)) : 1.0f;
    const float start = limiterGain_;
    const float target = std::min(allowed, start + perFrame * float(frames));
    limiterGain_ = target;
    if (start == 1.0f) return;
    for (int i = 0; i < frames; ++i) {
        const float g = start + (target - start) * float(i + 1) / float(frames);
        out[2 * i] *= g;
        out[2 * i + 1] *= g;
    }
}

}  // namespace pabuko
