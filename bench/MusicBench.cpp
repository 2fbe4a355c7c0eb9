// Synthesizing one second of the densest passage of the game's music, in the device's
// 512-frame blocks at 44100 Hz: the time per iteration is the synthesizer's share of a core.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "assets/MusicSource.h"
#include "platform/MidiSynth.h"

namespace {

using namespace pabuko;

void RenderOneSecondOfADenseTrack(benchmark::State& state) {
    const std::string font = FindSoundFont();
    if (font.empty()) {
        state.SkipWithError("no General MIDI soundfont");
        return;
    }
    // The full band of the Ode's second theme: horn, piano, strings, bass and kit at once.
    std::ifstream in(PABUKO_SOURCE_DIR "/content/music/oda.notes");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto song =
        CompileMusicSource(text.substr(0, text.find("\nplay ")) + "\nplay B\n", "oda.notes");
    MidiSynth synth(44100);
    synth.LoadSoundFont(font);
    synth.Start(song);
    std::vector<float> block(2 * 512);
    for (auto _ : state) {
        for (int i = 0; i < 44100 / 512; ++i) {
            if (synth.Render(block.data(), 512)) synth.Start(song);
        }
        benchmark::DoNotOptimize(block.data());
    }
}
BENCHMARK(RenderOneSecondOfADenseTrack)->Unit(benchmark::kMillisecond);

}  // namespace
