// Synthesizing one second of the densest passage of the game's music, in the device's
// 512-frame blocks at 44100 Hz: the time per iteration is the synthesizer's share of a core.
// Measured with each General MIDI soundfont that is installed (TimGM6mb, FluidR3), and with
// the one the game would choose (PABUKO_SOUNDFONT or the system's default).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/MusicSource.h"
#include "platform/MidiSynth.h"

namespace {

using namespace pabuko;

void RenderOneSecondOfADenseTrack(benchmark::State& state, const std::string& font) {
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
    if (!synth.LoadSoundFont(font)) {
        state.SkipWithError("the soundfont does not load");
        return;
    }
    synth.Start(song);
    std::vector<float> block(2 * 512);
    for (auto _ : state) {
        for (int i = 0; i < 44100 / 512; ++i) {
            if (synth.Render(block.data(), 512)) synth.Start(song);
        }
        benchmark::DoNotOptimize(block.data());
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("RenderOneSecondOfADenseTrack/default",
                                 RenderOneSecondOfADenseTrack, FindSoundFont())
        ->Unit(benchmark::kMillisecond);
    for (const char* name : {"TimGM6mb", "FluidR3_GM"}) {
        const std::string path = std::string("/usr/share/sounds/sf2/") + name + ".sf2";
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) continue;
        benchmark::RegisterBenchmark(("RenderOneSecondOfADenseTrack/" + std::string(name)).c_str(),
                                     RenderOneSecondOfADenseTrack, path)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
