// pabuko-tool music build SRC OUT.mid: compiles a note source (content/music/*.notes; the
// format is described in src/assets/MusicSource.h) into a Standard MIDI File.
// pabuko-tool music render FILE.mid --wav OUT.wav: renders a MIDI file with the game's
// synthesizer and soundfont, up to where the game would call the track ended, and prints
// its length, its peak and how many samples clipped. --whole-soundfont plays it from the whole
// soundfont rather than from the one the game reduces to the track's instruments.
#include <cmath>
#include <fstream>
#include <iostream>
#include <iterator>

#include "ToolCommands.h"
#include "assets/MusicSource.h"
#include "platform/MidiSynth.h"

namespace pabuko::tool {

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

void Le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

int Build(const std::string& source, const std::string& out) {
    try {
        const auto bytes = ReadAll(source);
        WriteAll(out, CompileMusicSource(std::string(bytes.begin(), bytes.end()), source));
    } catch (const std::exception& e) {
        std::cerr << "music build: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

int Render(const std::string& midi, const std::string& wav, int rate, bool whole) {
    try {
        const std::string font = FindSoundFont();
        if (font.empty()) throw std::runtime_error("no General MIDI soundfont installed");
        const auto samples = RenderMidiFile(ReadAll(midi), font, rate, 1200, whole);
        if (samples.empty()) throw std::runtime_error(midi + ": not a MIDI file");
        float peak = 0;
        size_t clipped = 0;
        std::vector<uint8_t> file{'R', 'I', 'F', 'F'};
        const auto dataBytes = uint32_t(samples.size() * 2);
        Le(file, 36 + dataBytes, 4);
        file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
        Le(file, 16, 4);
        Le(file, 1, 2);
        Le(file, 2, 2);
        Le(file, uint32_t(rate), 4);
        Le(file, uint32_t(rate) * 4, 4);
        Le(file, 4, 2);
        Le(file, 16, 2);
        file.insert(file.end(), {'d', 'a', 't', 'a'});
        Le(file, dataBytes, 4);
        for (float s : samples) {
            peak = std::max(peak, std::fabs(s));
            if (std::fabs(s) > 1.0f) ++clipped;
            const auto v = int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
            Le(file, uint16_t(v), 2);
        }
        WriteAll(wav, file);
        std::cout << wav << ": " << double(samples.size() / 2) / rate << " s, peak "
                  << (peak > 0 ? 20 * std::log10(peak) : -999.0) << " dBFS, " << clipped
                  << " samples clipped\n";
        return clipped ? 2 : 0;
    } catch (const std::exception& e) {
        std::cerr << "music render: " << e.what() << '\n';
        return 1;
    }
}

const Registrar reg([](CLI::App& app) {
    auto* music = app.add_subcommand("music", "Background music (music/*.mid)");
    music->require_subcommand(1);

    auto* build = music->add_subcommand("build", "Compile a note source into a MIDI file");
    static std::string source, out;
    build->add_option("SRC", source, "note source")->required();
    build->add_option("OUT", out, "MIDI file to write")->required();
    build->callback([] { SetExitCode(Build(source, out)); });

    auto* render = music->add_subcommand("render", "Render a MIDI file as the game plays it");
    static std::string midi, wav;
    static int rate = 44100;
    static bool whole = false;
    render->add_option("FILE", midi, "MIDI file")->required();
    render->add_option("--wav", wav, "WAV file to write")->required();
    render->add_option("--rate", rate, "sample rate")->check(CLI::Range(8000, 96000));
    render->add_flag("--whole-soundfont", whole,
                     "play from the whole soundfont, not the track's instruments alone");
    render->callback([] { SetExitCode(Render(midi, wav, rate, whole)); });
});

}  // namespace

}  // namespace pabuko::tool
