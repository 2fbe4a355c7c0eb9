// A wave list file: load it, play every item against a device-less mixer, and write it back.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "assets/ObjectStream.h"
#include "assets/WaveList.h"
#include "platform/SoundMixer.h"

namespace {

using namespace pabuko;

// Buffers over the real mixer, with no audio device behind it.
struct MixerSound : SoundService {
    SoundMixer mixer{44100};

    struct Buffer : SoundBuffer {
        SoundMixer& mixer;
        MixerVoice voice;
        Buffer(SoundMixer& m, std::shared_ptr<const MixerSamples> s) : mixer(m) {
            voice.Samples = std::move(s);
            mixer.Add(&voice);
        }
        ~Buffer() override { mixer.Remove(&voice); }
        std::unique_ptr<SoundBuffer> Duplicate() override {
            return std::make_unique<Buffer>(mixer, voice.Samples);
        }
        void Play(bool looped) override {
            voice.Playing = true;
            voice.Looping = looped;
        }
        void Stop() override { voice.Playing = voice.Looping = false; }
        void SetPosition(uint32_t bytes) override {
            voice.Position =
                uint64_t{std::min(bytes / voice.Samples->BlockAlign, voice.Samples->Frames())}
                << 32;
        }
        uint32_t Position() const override {
            return static_cast<uint32_t>(voice.Position >> 32) * voice.Samples->BlockAlign;
        }
        void SetFrequency(int32_t hz) override { voice.Frequency = hz; }
        void SetPan(int32_t pan) override { voice.Pan = pan; }
        void SetVolume(int32_t volume) override { voice.Volume = volume; }
        SoundStatus Status() const override {
            return {voice.Playing, voice.Playing && voice.Looping};
        }
    };

    bool Initialized() const override { return true; }
    std::unique_ptr<SoundBuffer> CreateBuffer(std::span<const uint8_t> format,
                                              std::span<const uint8_t> samples) override {
        auto converted = ConvertSamples(format, samples);
        if (!converted) throw StreamError("Sound Buffer cannot be made");
        return std::make_unique<Buffer>(mixer, std::move(converted));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MixerSound sound;
    WaveList list;
    list.SetDXSound(&sound);
    bool loaded = true;
    try {
        list.Items.LoadFromStream(std::span<const uint8_t>(data, size));
    } catch (const StreamError&) {
        loaded = false;
    }
    // The payload reader on its own, over the raw input.
    try {
        ReadWavePayload(std::span<const uint8_t>(data, size));
    } catch (const StreamError&) {
    }

    std::vector<float> out(2 * 256);
    for (int i = 0; i < list.Items.Count(); ++i) {
        auto& item = list.Items[i];
        item.Frequency = static_cast<int32_t>(size * 997 % 50000);
        try {
            for (int k = 0; k < 3; ++k) item.Play();
        } catch (const StreamError&) {
            continue;  // a format the mixer cannot play
        }
        if (item.MaxPlayingCount() > 0 &&
            item.PlayCopies().size() > static_cast<size_t>(item.MaxPlayingCount()))
            std::abort();
        std::fill(out.begin(), out.end(), 0.0f);
        sound.mixer.Mix(out.data(), 256);
        // Each voice adds at most full scale, and never a NaN.
        const float limit = static_cast<float>(sound.mixer.VoiceCount()) + 0.01f;
        for (float f : out)
            if (!(f >= -limit && f <= limit)) std::abort();
    }

    if (loaded) {
        // Whatever we read, we write so that it reads again the same.
        WaveCollection again;
        again.LoadFromStream(list.Items.SaveToStream());
        if (again.Count() != list.Items.Count()) std::abort();
        for (int i = 0; i < again.Count(); ++i)
            if (!(again[i].GetWave() == list.Items[i].GetWave())) std::abort();
    }
    return 0;
}
