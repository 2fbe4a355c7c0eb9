#pragma once
// The music synthesizer: one FluidSynth instance with the game's sound settings and a MIDI
// file player. It knows nothing of threads or devices: the sound device drives it from its
// audio callback (holding its lock), the tool drives it straight into a WAV file.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/MidiFrame.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;
struct _fluid_midi_event_t;

namespace pabuko {

// The system's General MIDI soundfont: the one Debian links as the default (a better font
// the player installs takes that link over), else TimGM6mb's. Empty when there is none.
// The environment variable PABUKO_SOUNDFONT, when set, names the soundfont instead.
std::string FindSoundFont();

// Doubles the rate of interleaved stereo: every input frame is followed by the point halfway
// to the next, interpolated by a windowed sinc. Keeps what lies below about 0.45 of the input
// rate; the output lags the input by kTaps frames of input (less than a millisecond).
class Upsampler2x {
  public:
    static constexpr int kTaps = 16;  // input frames on each side of a halfway point

    Upsampler2x();
    // Turns `frames` input frames into 2 × `frames` output frames, written to `out`.
    void Process(const float* in, int frames, float* out);
    void Reset();

  private:
    float weights_[kTaps];
    std::vector<float> history_;  // the last 2 × kTaps input frames, then the new ones
};

class MidiSynth {
  public:
    explicit MidiSynth(int sampleRate);
    ~MidiSynth();
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // Loads the whole soundfont, in place of the one loaded. False when it cannot be loaded.
    bool LoadSoundFont(const std::string& path);
    // Loads of the soundfont what the track plays: its instruments with only the keys it
    // plays, their samples as the track chooses them. The whole font for a track or a font
    // that cannot be reduced; false when that cannot be loaded either.
    bool LoadSoundFontFor(const std::string& path, std::span<const uint8_t> track);
    bool SoundFontLoaded() const { return fontId_ >= 0; }
    // The font loaded is the whole soundfont, not one reduced for a track.
    bool WholeSoundFont() const {
        return fontId_ >= 0 && !reducedNames_.empty() && reducedNames_.back().empty();
    }

    // Plays the file from its beginning, replacing whatever played. The bytes are kept
    // here; false when they are not a MIDI file.
    bool Start(std::vector<uint8_t> file);
    // Cuts the track off at once: every note falls silent.
    void Stop();
    bool Playing() const { return playing_; }
    // Something may still be heard: a track plays, or the last notes and the reverb have not
    // yet died away. Once false, Render adds nothing until the next Start.
    bool Sounding() const;

    // Adds `frames` frames of interleaved stereo into `out`. Returns true when the track
    // reached its musical end within them: its last event has played and its notes have
    // died away (a note held on past the end is given a few seconds, then released).
    bool Render(float* out, int frames);

    int SampleRate() const { return sampleRate_; }
    // The rate FluidSynth computes at: half the output rate from 44.1 kHz up (the tracks hold
    // next to nothing above 10 kHz and the notes cost half as much), else the output rate.
    int SynthesisRate() const { return synthesisRate_; }

  private:
    void DeletePlayer();
    void ReplaceFont(int id, std::string reducedName);
    void Synthesize(float* out, int frames);
    // Every event of the track, on the audio thread, before the synthesizer gets it.
    static int OnEvent(void* data, _fluid_midi_event_t* event);

    static constexpr int kChannels = 16;

    int sampleRate_;
    int synthesisRate_;
    Upsampler2x upsampler_;
    float held_[2] = {0, 0};  // an output frame made but not yet asked for
    bool holding_ = false;
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    _fluid_player_t* player_ = nullptr;
    int fontId_ = -1;
    std::string fontPath_;
    std::vector<std::string> reducedNames_;  // the last two loaded ("" for a whole font)
    std::vector<uint8_t> file_;
    std::vector<float> scratch_;
    std::vector<float> doubled_;
    std::array<bool, kChannels> chosen_{};  // the track has chosen the channel's instrument
    bool playing_ = false;
    bool started_ = false;    // the player has had a block to load the file
    int totalTicks_ = 0;      // the file's length, once the player has loaded it
    int64_t tailFrames_ = 0;  // rendered since the last event
    int64_t idleFrames_ = 0;  // rendered with nothing playing
};

// Renders a whole file as the game plays it, up to its musical end, as interleaved stereo
// at `sampleRate`. Empty when the soundfont cannot be loaded or the bytes are no MIDI file.
// `maxSeconds` bounds a file that never ends; `wholeSoundFont` plays it from the whole
// soundfont, not from the one reduced for it.
std::vector<float> RenderMidiFile(std::vector<uint8_t> file, const std::string& soundFont,
                                  int sampleRate, int maxSeconds = 1200,
                                  bool wholeSoundFont = false);

}  // namespace pabuko
