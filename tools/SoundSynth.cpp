// pabuko-tool sounds render OUTDIR: synthesizes the game's sound effects as WAV files
// (16-bit PCM, mono, 22050 Hz), one per wave index the game plays:
//   0 landing or push, 1 clear, 2 remove two, 3 remove three, 4 clear column, 5 delete row,
//   6 stack full, 7 life lost, 8 game over, 9 level won, 10 last level won.
// Every sound fades in and out, so it starts and ends at silence (no clicks), and is scaled
// to its own peak level: the fanfares loudest at -6.5 dBFS, the landing thump, which comes
// with every tile, 10 dB under them. No effect peaks above -6 dBFS, so the few that start
// together (landing, clear and a fanfare) leave the mixer room.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "ToolCommands.h"

namespace pabuko::sound {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Buffer = std::vector<double>;

int Samples(double seconds) {
    return int(std::lround(seconds * kRate));
}

double Note(double semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// Attack, then an exponential decay, with a short linear fade at the very end so the last
// sample is exactly zero.
double Envelope(double t, double length, double attack, double decay) {
    if (t < 0 || t >= length) return 0;
    double gain = t < attack ? t / attack : std::exp(-(t - attack) / decay);
    const double fade = std::min(0.01, length * 0.2);
    if (length - t < fade) gain *= (length - t) / fade;
    return gain;
}

// A tone whose pitch glides from f0 to f1; `harmonics` gives the relative strength of the
// overtones (1 = fundamental only), built additively so nothing aliases.
struct Tone {
    double start = 0, length = 0.2, f0 = 440, f1 = 440, attack = 0.005, decay = 0.1, gain = 0.5,
           vibrato = 0;
    std::vector<double> harmonics{1.0};
};

void Add(Buffer& out, const Tone& tone) {
    const int first = Samples(tone.start);
    const int count = Samples(tone.length);
    if (int(out.size()) < first + count) out.resize(first + count, 0.0);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kRate;
        const double k = t / tone.length;
        double f = tone.f0 * std::pow(tone.f1 / tone.f0, k);
        f *= 1.0 + tone.vibrato * std::sin(2 * kPi * 5.5 * t);
        phase += 2 * kPi * f / kRate;
        double v = 0;
        for (size_t h = 0; h < tone.harmonics.size(); ++h)
            if (f * double(h + 1) < kRate / 2.2)
                v += tone.harmonics[h] * std::sin(phase * double(h + 1));
        out[first + i] += tone.gain * Envelope(t, tone.length, tone.attack, tone.decay) * v;
    }
}

// Noise through a one-pole low-pass whose cut-off glides from c0 to c1 (0-1 of the rate);
// `seed` picks the noise, so every build makes the same samples.
struct Noise {
    double start = 0, length = 0.2, c0 = 0.5, c1 = 0.5, gain = 0.5, attack = 0.005, decay = 0.1;
    unsigned seed = 1;
};

void AddNoise(Buffer& out, const Noise& noise) {
    const auto [start, length, c0, c1, gain, attack, decay, seed] = noise;
    const int first = Samples(start);
    const int count = Samples(length);
    if (int(out.size()) < first + count) out.resize(first + count, 0.0);
    unsigned state = seed * 747796405u + 2891336453u;
    double low = 0;
    for (int i = 0; i < count; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const double white = (state & 0xFFFF) / 32768.0 - 1.0;
        const double t = double(i) / kRate;
        const double c = c0 + (c1 - c0) * t / length;
        low += c * (white - low);
        out[first + i] += gain * Envelope(t, length, attack, decay) * low;
    }
}

// A soft room: a few decaying echoes, so the tunes do not sound dry.
void Echo(Buffer& out, double delay, double feedback, int repeats) {
    const int d = Samples(delay);
    const size_t dry = out.size();
    out.resize(dry + size_t(d) * repeats, 0.0);
    for (size_t i = d; i < out.size(); ++i) out[i] += feedback * out[i - d];
}

const std::vector<double> kBell{1.0, 0.0, 0.35, 0.0, 0.12};
const std::vector<double> kSoft{1.0, 0.25, 0.08};
const std::vector<double> kReed{1.0, 0.0, 0.33, 0.0, 0.2, 0.0, 0.14, 0.0, 0.11};

Buffer Landing() {
    Buffer b;
    Add(b, {.length = 0.11,
            .f0 = 190,
            .f1 = 95,
            .attack = 0.002,
            .decay = 0.03,
            .gain = 0.9,
            .harmonics = kSoft});
    AddNoise(b, {.length = 0.05,
                 .c0 = 0.35,
                 .c1 = 0.05,
                 .gain = 0.35,
                 .attack = 0.001,
                 .decay = 0.012,
                 .seed = 1});
    return b;
}

Buffer Clear() {
    Buffer b;
    Add(b, {.length = 0.16,
            .f0 = Note(7 + 12),
            .f1 = Note(7 + 12),
            .decay = 0.06,
            .gain = 0.5,
            .harmonics = kBell});
    Add(b, {.start = 0.06,
            .length = 0.22,
            .f0 = Note(14 + 12),
            .f1 = Note(14 + 12),
            .decay = 0.08,
            .gain = 0.45,
            .harmonics = kBell});
    return b;
}

// Each removed tile is one falling note.
Buffer RemoveNotes(const std::vector<double>& notes) {
    Buffer b;
    for (size_t i = 0; i < notes.size(); ++i)
        Add(b, {.start = 0.085 * double(i),
                .length = 0.16,
                .f0 = Note(notes[i]),
                .f1 = Note(notes[i] - 0.6),
                .attack = 0.003,
                .decay = 0.05,
                .gain = 0.55,
                .harmonics = kSoft});
    return b;
}

Buffer ClearColumn() {
    Buffer b;
    Add(b, {.length = 0.5,
            .f0 = 1400,
            .f1 = 160,
            .attack = 0.01,
            .decay = 0.22,
            .gain = 0.45,
            .harmonics = kSoft});
    AddNoise(b, {.length = 0.5,
                 .c0 = 0.6,
                 .c1 = 0.04,
                 .gain = 0.5,
                 .attack = 0.02,
                 .decay = 0.2,
                 .seed = 2});
    Add(b, {.start = 0.38,
            .length = 0.14,
            .f0 = 120,
            .f1 = 70,
            .attack = 0.003,
            .decay = 0.05,
            .gain = 0.6});
    return b;
}

Buffer DeleteRow() {
    Buffer b;
    for (int i = 0; i < 6; ++i)
        Add(b, {.start = 0.045 * i,
                .length = 0.07,
                .f0 = Note(-5 + 3 * i),
                .f1 = Note(-3 + 3 * i),
                .attack = 0.003,
                .decay = 0.03,
                .gain = 0.35,
                .harmonics = kReed});
    AddNoise(b, {.length = 0.34,
                 .c0 = 0.05,
                 .c1 = 0.5,
                 .gain = 0.25,
                 .attack = 0.2,
                 .decay = 0.06,
                 .seed = 3});
    return b;
}

// A low double buzz and a clunk: the stack's mouth closes.
Buffer StackFull() {
    Buffer b;
    for (int i = 0; i < 2; ++i)
        Add(b, {.start = 0.16 * i,
                .length = 0.15,
                .f0 = Note(-17),
                .f1 = Note(-17.5),
                .attack = 0.004,
                .decay = 0.08,
                .gain = 0.5,
                .harmonics = kReed});
    AddNoise(b, {.start = 0.33,
                 .length = 0.09,
                 .c0 = 0.2,
                 .c1 = 0.05,
                 .gain = 0.4,
                 .attack = 0.001,
                 .decay = 0.02,
                 .seed = 4});
    Add(b, {.start = 0.33,
            .length = 0.09,
            .f0 = 140,
            .f1 = 80,
            .attack = 0.002,
            .decay = 0.03,
            .gain = 0.5});
    return b;
}

Buffer LifeLost() {
    Buffer b;
    Add(b, {.length = 0.75,
            .f0 = Note(0),
            .f1 = Note(-9),
            .attack = 0.01,
            .decay = 0.4,
            .gain = 0.55,
            .vibrato = 0.012,
            .harmonics = {1.0, 0.0, 0.11, 0.0, 0.04}});
    Add(b, {.length = 0.75,
            .f0 = Note(-12),
            .f1 = Note(-21),
            .attack = 0.01,
            .decay = 0.4,
            .gain = 0.25});
    return b;
}

Buffer GameOver() {
    Buffer b;
    const double notes[] = {-5, -9, -12, -17};  // E4 C4 A3 E3
    const double lengths[] = {0.34, 0.34, 0.34, 1.1};
    double at = 0;
    for (int i = 0; i < 4; ++i) {
        Add(b, {.start = at,
                .length = lengths[i] + 0.1,
                .f0 = Note(notes[i]),
                .f1 = Note(notes[i]),
                .attack = 0.012,
                .decay = i == 3 ? 0.5 : 0.2,
                .gain = 0.5,
                .vibrato = 0.006,
                .harmonics = kReed});
        at += lengths[i];
    }
    Echo(b, 0.18, 0.25, 3);
    return b;
}

Buffer LevelWon() {
    Buffer b;
    const double notes[] = {3, 7, 10, 15};  // C5 E5 G5 C6
    for (int i = 0; i < 4; ++i)
        Add(b, {.start = 0.1 * i,
                .length = i == 3 ? 0.6 : 0.22,
                .f0 = Note(notes[i]),
                .f1 = Note(notes[i]),
                .attack = 0.004,
                .decay = i == 3 ? 0.25 : 0.1,
                .gain = 0.42,
                .harmonics = kBell});
    Add(b, {.start = 0.3,
            .length = 0.5,
            .f0 = Note(27),
            .f1 = Note(27),
            .decay = 0.12,
            .gain = 0.12,
            .harmonics = kBell});
    Echo(b, 0.11, 0.22, 3);
    return b;
}

Buffer LastLevelWon() {
    Buffer b;
    const double run[] = {3, 7, 10, 15, 10, 15};  // C5 E5 G5 C6 G5 C6
    const double at[] = {0, 0.12, 0.24, 0.36, 0.6, 0.72};
    for (int i = 0; i < 6; ++i)
        Add(b, {.start = at[i],
                .length = 0.2,
                .f0 = Note(run[i]),
                .f1 = Note(run[i]),
                .attack = 0.004,
                .decay = 0.09,
                .gain = 0.4,
                .harmonics = kReed});
    // The closing chord, held.
    for (double n : {3.0, 7.0, 10.0, 15.0})
        Add(b, {.start = 0.86,
                .length = 1.1,
                .f0 = Note(n),
                .f1 = Note(n),
                .attack = 0.02,
                .decay = 0.55,
                .gain = 0.2,
                .vibrato = 0.004,
                .harmonics = kReed});
    for (int i = 0; i < 5; ++i)
        Add(b, {.start = 0.9 + 0.08 * i,
                .length = 0.25,
                .f0 = Note(27 + 2 * i),
                .f1 = Note(27 + 2 * i),
                .decay = 0.07,
                .gain = 0.08,
                .harmonics = kBell});
    Echo(b, 0.14, 0.2, 3);
    return b;
}

// Scaled to peak at `peakDb` dBFS and the inaudible tail cut. A sound still audible at its
// end is released over its last 80 ms (a third of a shorter sound): a sudden stop would
// click and sound cut off.
std::vector<int16_t> Finish(Buffer b, double peakDb) {
    double peak = 0;
    for (double v : b) peak = std::max(peak, std::abs(v));
    size_t end = b.size();
    while (end > 0 && std::abs(b[end - 1]) < peak * 0.003) --end;
    b.resize(end);
    const double scale = peak > 0 ? std::pow(10.0, peakDb / 20.0) / peak : 0;
    const int release = std::min<int>(Samples(0.08), int(b.size()) / 3);
    std::vector<int16_t> pcm(b.size());
    for (size_t i = 0; i < b.size(); ++i) {
        double v = b[i] * scale;
        const size_t fromEnd = b.size() - 1 - i;
        if (release > 0 && fromEnd < size_t(release)) {
            const double k = double(fromEnd) / release;  // 1 at the release's start, 0 at the end
            v *= 0.5 - 0.5 * std::cos(kPi * k);
        }
        // Rounded down in size, so the peak never rises above its level.
        pcm[i] = int16_t(std::trunc(std::clamp(v, -1.0, 1.0) * 32767));
    }
    return pcm;
}

struct Effect {
    const char* file;
    Buffer (*make)();
    double peakDb;
};

const std::array<Effect, 11>& Effects() {
    static const std::array<Effect, 11> effects{{
        {"sfx-00-landing.wav", Landing, -16.5},
        {"sfx-01-clear.wav", Clear, -9.0},
        {"sfx-02-remove-two.wav",
         [] {
             return RemoveNotes({10, 5});
         },
         -9.0},
        {"sfx-03-remove-three.wav",
         [] {
             return RemoveNotes({12, 7, 3});
         },
         -9.0},
        {"sfx-04-clear-column.wav", ClearColumn, -8.0},
        {"sfx-05-delete-row.wav", DeleteRow, -8.5},
        {"sfx-06-stack-full.wav", StackFull, -9.0},
        {"sfx-07-life-lost.wav", LifeLost, -7.0},
        {"sfx-08-game-over.wav", GameOver, -6.5},
        {"sfx-09-level-won.wav", LevelWon, -6.5},
        {"sfx-10-last-level-won.wav", LastLevelWon, -6.5},
    }};
    return effects;
}

void Put16(std::ofstream& out, uint16_t v) {
    const char bytes[2] = {char(v & 0xFF), char(v >> 8)};
    out.write(bytes, 2);
}

void Put32(std::ofstream& out, uint32_t v) {
    Put16(out, uint16_t(v & 0xFFFF));
    Put16(out, uint16_t(v >> 16));
}

bool WriteWav(const std::filesystem::path& path, const std::vector<int16_t>& pcm) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t dataBytes = uint32_t(pcm.size() * 2);
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    for (int16_t s : pcm) Put16(out, uint16_t(s));
    return bool(out);
}

int Render(const std::string& outDir) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const auto& effect : Effects()) {
        const auto path = std::filesystem::path(outDir) / effect.file;
        if (!WriteWav(path, Finish(effect.make(), effect.peakDb))) {
            std::cerr << "sounds render: cannot write " << path.string() << '\n';
            return 1;
        }
    }
    return 0;
}

const tool::Registrar reg([](CLI::App& app) {
    auto* sounds = app.add_subcommand("sounds", "Synthesize the game's sound effects");
    sounds->require_subcommand(1);
    auto* render = sounds->add_subcommand("render", "Write the effects as WAV files into OUTDIR");
    static std::string outDir;
    render->add_option("OUTDIR", outDir, "Folder for the WAV files")->required();
    render->callback([] { tool::SetExitCode(Render(outDir)); });
});

}  // namespace

}  // namespace pabuko::sound
