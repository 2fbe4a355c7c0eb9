// Mixing one second of eight voices, in the device's 512-frame blocks, at 44100 Hz.
#include <benchmark/benchmark.h>

#include <vector>

#include "assets/WaveFile.h"
#include "platform/SoundMixer.h"

namespace {

using namespace pabuko;

void MixEightVoicesForOneSecond(benchmark::State& state) {
    struct Source {
        uint16_t channels;
        uint32_t rate;
        uint16_t bits;
    };
    // The mix the game can meet: effects of every format, some at their own rate.
    const Source sources[] = {{1, 22050, 8}, {1, 44100, 16}, {2, 44100, 16}, {2, 22050, 8},
                              {1, 11025, 8}, {2, 48000, 16}, {1, 32000, 16}, {1, 8000, 8}};
    SoundMixer mixer(44100);
    std::vector<MixerVoice> voices(8);
    for (size_t i = 0; i < voices.size(); ++i) {
        const Source& s = sources[i];
        std::vector<uint8_t> data(s.rate / 2 * s.channels * (s.bits / 8));
        for (size_t k = 0; k < data.size(); ++k) data[k] = static_cast<uint8_t>(k * 31 + i);
        voices[i].Samples = ConvertSamples(MakePcmFormat(s.channels, s.rate, s.bits), data);
        voices[i].Playing = voices[i].Looping = true;
        voices[i].Pan = static_cast<int32_t>(i) * 500 - 2000;
        mixer.Add(&voices[i]);
    }
    constexpr int kBlock = 512;
    std::vector<float> out(2 * kBlock);
    for (auto _ : state) {
        for (int done = 0; done < 44100; done += kBlock) {
            std::fill(out.begin(), out.end(), 0.0f);
            mixer.Mix(out.data(), kBlock);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * 44100 * 8);
}
BENCHMARK(MixEightVoicesForOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace
