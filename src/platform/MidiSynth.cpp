#include "platform/MidiSynth.h"

#include <fcntl.h>
#include <fluidsynth.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

#include "platform/Files.h"
#include "platform/SharedLibrary.h"
#include "platform/SoundFontSubset.h"

namespace pabuko {

namespace {

// Longest a note may ring on after the last event before it is released.
constexpr int kMaxTailSeconds = 3;
// The reverb rings on this long after the last voice before rendering idles.
constexpr int kIdleAfterSeconds = 2;
constexpr int kScratchFrames = 1024;

// FluidSynth and the libraries it pulls in are opened when the first synthesizer is made:
// the game starts without them.
// clang-format off
#define PABUKO_FLUID_FUNCTIONS(X) \
    X(delete_fluid_player) X(delete_fluid_settings) X(delete_fluid_synth) \
    X(fluid_player_add_mem) X(fluid_player_get_current_tick) X(fluid_player_get_status) \
    X(fluid_player_get_total_ticks) X(fluid_player_play) X(fluid_player_stop) \
    X(fluid_set_log_function) X(fluid_settings_setint) X(fluid_settings_setnum) \
    X(fluid_synth_all_notes_off) X(fluid_synth_all_sounds_off) X(fluid_synth_get_active_voice_count) \
    X(fluid_synth_sfload) X(fluid_synth_sfunload) X(fluid_synth_write_float) \
    X(new_fluid_player) X(new_fluid_settings) X(new_fluid_synth) \
    X(fluid_midi_event_get_channel) X(fluid_midi_event_get_type) X(fluid_midi_event_get_velocity) \
    X(fluid_player_set_playback_callback) X(fluid_synth_handle_midi_event) \
    X(fluid_synth_program_change) X(fluid_synth_system_reset) X(fluid_synth_unset_program) \
    X(new_fluid_defsfloader) X(fluid_sfloader_set_callbacks) X(fluid_synth_add_sfloader)
// clang-format on

struct FluidLibrary {
    PABUKO_FLUID_FUNCTIONS(PABUKO_LIBRARY_POINTER)
};

// Null when FluidSynth is not installed: then there is no synthesizer and no music.
const FluidLibrary* OpenFluid() {
    static const FluidLibrary* const library =
        PABUKO_OPEN_TABLE(PABUKO_FLUIDSYNTH_SONAME, FluidLibrary, PABUKO_FLUID_FUNCTIONS);
    return library;
}

// Only where a synthesizer exists, which means the library is open.
const FluidLibrary& Fl() {
    return *OpenFluid();
}

// The reduced soundfonts, by the names FluidSynth is given for them. FluidSynth opens a font
// again when it loads an instrument's samples, so a name stays here while its font is loaded.
constexpr std::string_view kReducedPrefix = "pabuko-instruments:";
std::mutex reducedMutex;
std::map<std::string, std::shared_ptr<const SoundFontSubset>, std::less<>> reduced;

std::shared_ptr<const SoundFontSubset> FindReduced(std::string_view name) {
    std::lock_guard lock(reducedMutex);
    const auto found = reduced.find(name);
    return found == reduced.end() ? nullptr : found->second;
}

// An open reduced soundfont, for FluidSynth's file callbacks.
struct ReducedFile {
    std::shared_ptr<const SoundFontSubset> font;
    uint64_t position = 0;
};

void* OpenReduced(const char* name) {
    if (!name || !std::string_view(name).starts_with(kReducedPrefix)) return nullptr;
    auto font = FindReduced(name);
    return font ? new ReducedFile{std::move(font)} : nullptr;
}

int ReadReduced(void* buffer, fluid_long_long_t count, void* handle) {
    auto* file = static_cast<ReducedFile*>(handle);
    if (count < 0 || !file->font->Read(file->position, buffer, size_t(count))) return FLUID_FAILED;
    file->position += uint64_t(count);
    return FLUID_OK;
}

int SeekReduced(void* handle, fluid_long_long_t offset, int origin) {
    auto* file = static_cast<ReducedFile*>(handle);
    const int64_t base = origin == SEEK_SET   ? 0
                         : origin == SEEK_CUR ? int64_t(file->position)
                         : origin == SEEK_END ? int64_t(file->font->Size())
                                              : -1;
    if (base < 0) return FLUID_FAILED;
    const int64_t to = base + int64_t(offset);
    if (to < 0 || uint64_t(to) > file->font->Size()) return FLUID_FAILED;
    file->position = uint64_t(to);
    return FLUID_OK;
}

fluid_long_long_t TellReduced(void* handle) {
    return fluid_long_long_t(static_cast<ReducedFile*>(handle)->position);
}

int CloseReduced(void* handle) {
    delete static_cast<ReducedFile*>(handle);
    return FLUID_OK;
}

// The reduced soundfont of the file at `path` for the track; empty when there is none.
std::shared_ptr<const SoundFontSubset> ReduceSoundFont(const std::string& path,
                                                       std::span<const uint8_t> track) {
    const auto instruments = InstrumentsOfTrack(track);
    if (!instruments) return nullptr;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    // The descriptor lives as long as the reduced font reads from it.
    const auto descriptor = std::shared_ptr<int>(new int(fd), [](int* d) {
        ::close(*d);
        delete d;
    });
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    const auto readAt = [descriptor](uint64_t offset, void* out, size_t n) {
        auto* to = static_cast<char*>(out);
        while (n > 0) {
            const ssize_t got = ::pread(*descriptor, to, n, off_t(offset));
            if (got <= 0) return false;
            to += got;
            offset += uint64_t(got);
            n -= size_t(got);
        }
        return true;
    };
    auto subset = SoundFontSubset::Make(readAt, uint64_t(info.st_size), *instruments);
    return subset ? std::make_shared<const SoundFontSubset>(std::move(*subset)) : nullptr;
}

}  // namespace

Upsampler2x::Upsampler2x() {
    // sinc(t) under a Blackman window reaching ±kTaps, t the distance of each neighbour from
    // the halfway point, scaled so that a constant passes unchanged.
    constexpr double kPi = 3.14159265358979323846;
    double sum = 0;
    for (int i = 0; i < kTaps; ++i) {
        const double t = i + 0.5;
        const double window =
            0.42 + 0.5 * std::cos(kPi * t / kTaps) + 0.08 * std::cos(2 * kPi * t / kTaps);
        weights_[i] = float(std::sin(kPi * t) / (kPi * t) * window);
        sum += 2 * weights_[i];
    }
    for (float& w : weights_) w = float(w / sum);
    Reset();
}

void Upsampler2x::Reset() {
    history_.assign(2 * 2 * kTaps, 0.0f);
}

void Upsampler2x::Process(const float* in, int frames, float* out) {
    constexpr int kHeld = 2 * kTaps;
    history_.resize(size_t(2 * (kHeld + frames)));
    std::copy(in, in + 2 * frames, history_.begin() + 2 * kHeld);
    const float* h = history_.data();
    for (int n = 0; n < frames; ++n) {
        // The frame kTaps back, then the point between it and its successor.
        const int j = n + kHeld - kTaps;
        for (int c = 0; c < 2; ++c) {
            float mid = 0;
            for (int i = 0; i < kTaps; ++i)
                mid += weights_[i] * (h[2 * (j - i) + c] + h[2 * (j + 1 + i) + c]);
            out[4 * n + c] = h[2 * j + c];
            out[4 * n + 2 + c] = mid;
        }
    }
    std::copy(history_.end() - 2 * kHeld, history_.end(), history_.begin());
    history_.resize(2 * kHeld);
}

std::string FindSoundFont() {
    // PABUKO_SOUNDFONT names another soundfont, e.g. to measure the music with each of them.
    if (const char* chosen = std::getenv("PABUKO_SOUNDFONT"); chosen && chosen[0]) return chosen;
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
        if (FileExists(path)) return path;
    }
    return {};
}

MidiSynth::MidiSynth(int sampleRate)
    : sampleRate_(sampleRate > 0 ? sampleRate : 44100),
      synthesisRate_(sampleRate_ >= 44100 && sampleRate_ % 2 == 0 ? sampleRate_ / 2 : sampleRate_) {
    if (!OpenFluid()) return;
    // FluidSynth's log goes to stderr; a game has no use for it.
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
        Fl().fluid_set_log_function(level, nullptr, nullptr);
    settings_ = Fl().new_fluid_settings();
    Fl().fluid_settings_setnum(settings_, "synth.sample-rate", synthesisRate_);
    // Loud enough beside the effects, with room left for chords.
    Fl().fluid_settings_setnum(settings_, "synth.gain", 0.7);
    // The tracks use a handful of parts; 48 voices is plenty and bounds the cost.
    Fl().fluid_settings_setint(settings_, "synth.polyphony", 48);
    Fl().fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    // Only the instruments a track selects are read from the soundfont, and let go when no
    // channel uses them any more: a track plays a handful of the font's 128 programs, and a
    // large font would otherwise sit whole in memory.
    Fl().fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    // Start resets the synthesizer itself, without giving every channel the piano.
    Fl().fluid_settings_setint(settings_, "player.reset-synth", 0);
    // A small warm room and a slow, shallow chorus: the parts breathe without washing out.
    Fl().fluid_settings_setint(settings_, "synth.reverb.active", 1);
    Fl().fluid_settings_setnum(settings_, "synth.reverb.room-size", 0.42);
    Fl().fluid_settings_setnum(settings_, "synth.reverb.damp", 0.45);
    Fl().fluid_settings_setnum(settings_, "synth.reverb.width", 0.8);
    Fl().fluid_settings_setnum(settings_, "synth.reverb.level", 0.6);
    Fl().fluid_settings_setint(settings_, "synth.chorus.active", 1);
    Fl().fluid_settings_setint(settings_, "synth.chorus.nr", 2);
    Fl().fluid_settings_setnum(settings_, "synth.chorus.level", 1.2);
    Fl().fluid_settings_setnum(settings_, "synth.chorus.speed", 0.3);
    Fl().fluid_settings_setnum(settings_, "synth.chorus.depth", 4.0);
    synth_ = Fl().new_fluid_synth(settings_);
    // The reduced soundfonts are read through the game; other names go on to FluidSynth's
    // own loader.
    if (synth_) {
        if (fluid_sfloader_t* loader = Fl().new_fluid_defsfloader(settings_)) {
            Fl().fluid_sfloader_set_callbacks(loader, OpenReduced, ReadReduced, SeekReduced,
                                              TellReduced, CloseReduced);
            Fl().fluid_synth_add_sfloader(synth_, loader);
        }
    }
    scratch_.resize(2 * kScratchFrames);
}

MidiSynth::~MidiSynth() {
    DeletePlayer();
    if (synth_) Fl().delete_fluid_synth(synth_);
    if (settings_) Fl().delete_fluid_settings(settings_);
    std::lock_guard lock(reducedMutex);
    for (const std::string& name : reducedNames_) reduced.erase(name);
}

bool MidiSynth::LoadSoundFont(const std::string& path) {
    if (!synth_ || path.empty()) return false;
    const int id = Fl().fluid_synth_sfload(synth_, path.c_str(), 1);
    if (id == FLUID_FAILED) return false;
    ReplaceFont(id, {});
    fontPath_ = path;
    return true;
}

bool MidiSynth::LoadSoundFontFor(const std::string& path, std::span<const uint8_t> track) {
    if (!synth_ || path.empty()) return false;
    if (auto subset = ReduceSoundFont(path, track)) {
        static std::atomic<int> serial{0};
        std::string name = std::string(kReducedPrefix) + std::to_string(++serial);
        {
            std::lock_guard lock(reducedMutex);
            reduced[name] = std::move(subset);
        }
        // The channels are set up by Start: no preset is chosen (and loaded) here.
        const int id = Fl().fluid_synth_sfload(synth_, name.c_str(), 0);
        if (id != FLUID_FAILED) {
            ReplaceFont(id, std::move(name));
            fontPath_ = path;
            return true;
        }
        std::lock_guard lock(reducedMutex);
        reduced.erase(name);
    }
    // A track or a font the reduction does not follow plays from the whole font.
    return (WholeSoundFont() && fontPath_ == path) || LoadSoundFont(path);
}

void MidiSynth::ReplaceFont(int id, std::string reducedName) {
    if (fontId_ >= 0) Fl().fluid_synth_sfunload(synth_, fontId_, 0);
    fontId_ = id;
    // The name before the last may go: FluidSynth has let go of its font.
    reducedNames_.push_back(std::move(reducedName));
    while (reducedNames_.size() > 2) {
        std::lock_guard lock(reducedMutex);
        reduced.erase(reducedNames_.front());
        reducedNames_.erase(reducedNames_.begin());
    }
}

void MidiSynth::DeletePlayer() {
    if (player_) {
        Fl().fluid_player_stop(player_);
        Fl().delete_fluid_player(player_);
        player_ = nullptr;
    }
}

bool MidiSynth::Start(std::vector<uint8_t> file) {
    Stop();
    DeletePlayer();
    if (!synth_ || !LooksLikeMidiFile(file)) return false;
    file_ = std::move(file);
    // Every track begins on a fresh synthesizer, as a General MIDI device after a reset, but
    // its channels get their default instrument (the piano, the standard kit) only when they
    // play a note without having chosen one: the default would otherwise be loaded for all
    // sixteen channels, for the few that a track uses.
    Fl().fluid_synth_system_reset(synth_);
    for (int channel = 0; channel < kChannels; ++channel)
        Fl().fluid_synth_unset_program(synth_, channel);
    chosen_.fill(false);
    // The samples let go are many large blocks: handed back to the system at once, rather
    // than kept for allocations that the audio thread makes from another arena anyway.
    malloc_trim(0);
    player_ = Fl().new_fluid_player(synth_);
    if (player_) Fl().fluid_player_set_playback_callback(player_, &MidiSynth::OnEvent, this);
    if (!player_ || Fl().fluid_player_add_mem(player_, file_.data(), file_.size()) != FLUID_OK ||
        Fl().fluid_player_play(player_) != FLUID_OK) {
        DeletePlayer();
        return false;
    }
    playing_ = true;
    started_ = false;
    totalTicks_ = 0;
    tailFrames_ = 0;
    idleFrames_ = 0;
    return true;
}

int MidiSynth::OnEvent(void* data, fluid_midi_event_t* event) {
    auto* self = static_cast<MidiSynth*>(data);
    const int channel = Fl().fluid_midi_event_get_channel(event);
    if (channel >= 0 && channel < kChannels) {
        const int type = Fl().fluid_midi_event_get_type(event);
        if (type == 0xC0) {
            self->chosen_[size_t(channel)] = true;
        } else if (type == 0x90 && Fl().fluid_midi_event_get_velocity(event) > 0 &&
                   !self->chosen_[size_t(channel)]) {
            self->chosen_[size_t(channel)] = true;
            Fl().fluid_synth_program_change(self->synth_, channel, 0);
        }
    }
    return Fl().fluid_synth_handle_midi_event(self->synth_, event);
}

void MidiSynth::Stop() {
    if (player_) Fl().fluid_player_stop(player_);
    if (synth_) {
        Fl().fluid_synth_all_sounds_off(synth_, -1);
        // Stopped music holds no instruments: with a large soundfont they are tens of
        // megabytes, which a player who switched the music off should not pay for.
        for (int channel = 0; channel < kChannels; ++channel)
            Fl().fluid_synth_unset_program(synth_, channel);
        chosen_.fill(false);
        malloc_trim(0);
    }
    playing_ = false;
}

bool MidiSynth::Sounding() const {
    return synth_ && (playing_ || idleFrames_ < int64_t(kIdleAfterSeconds) * sampleRate_);
}

void MidiSynth::Synthesize(float* out, int frames) {
    float* s = scratch_.data();
    if (synthesisRate_ == sampleRate_) {
        for (int done = 0; done < frames;) {
            const int n = std::min(frames - done, kScratchFrames);
            Fl().fluid_synth_write_float(synth_, n, s, 0, 2, s, 1, 2);
            float* o = out + 2 * done;
            for (int i = 0; i < 2 * n; ++i) o[i] += s[i];
            done += n;
        }
        return;
    }
    int done = 0;
    if (holding_ && frames > 0) {
        out[0] += held_[0];
        out[1] += held_[1];
        holding_ = false;
        done = 1;
    }
    while (done < frames) {
        // Half as many frames of synthesis, rounded up; an odd one over is held for later.
        const int n = std::min((frames - done + 1) / 2, kScratchFrames);
        Fl().fluid_synth_write_float(synth_, n, s, 0, 2, s, 1, 2);
        doubled_.resize(size_t(4 * n));
        upsampler_.Process(s, n, doubled_.data());
        const int take = std::min(2 * n, frames - done);
        float* o = out + 2 * done;
        for (int i = 0; i < 2 * take; ++i) o[i] += doubled_[size_t(i)];
        if (take < 2 * n) {
            held_[0] = doubled_[size_t(2 * take)];
            held_[1] = doubled_[size_t(2 * take + 1)];
            holding_ = true;
        }
        done += take;
    }
}

bool MidiSynth::Render(float* out, int frames) {
    if (!synth_ || frames <= 0) return false;
    if (!playing_ && Fl().fluid_synth_get_active_voice_count(synth_) == 0) {
        // Nothing sounds: once the reverb has rung out there is nothing left to compute.
        if (idleFrames_ >= int64_t(kIdleAfterSeconds) * sampleRate_) return false;
        idleFrames_ += frames;
    } else {
        idleFrames_ = 0;
    }
    Synthesize(out, frames);
    if (!playing_) return false;
    // The player reads its file during the first block it is given.
    if (!started_) {
        started_ = true;
        if (Fl().fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING) return false;
    }
    // The length walks every event of the file: asked once, not every block.
    if (totalTicks_ <= 0) totalTicks_ = Fl().fluid_player_get_total_ticks(player_);
    const bool eventsDone = Fl().fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING ||
                            Fl().fluid_player_get_current_tick(player_) >= totalTicks_;
    if (!eventsDone) return false;
    tailFrames_ += frames;
    if (Fl().fluid_synth_get_active_voice_count(synth_) > 0 &&
        tailFrames_ < int64_t(kMaxTailSeconds) * sampleRate_)
        return false;
    Fl().fluid_player_stop(player_);
    Fl().fluid_synth_all_notes_off(synth_, -1);
    playing_ = false;
    return true;
}

std::vector<float> RenderMidiFile(std::vector<uint8_t> file, const std::string& soundFont,
                                  int sampleRate, int maxSeconds, bool wholeSoundFont) {
    MidiSynth synth(sampleRate);
    const bool loaded =
        wholeSoundFont ? synth.LoadSoundFont(soundFont) : synth.LoadSoundFontFor(soundFont, file);
    if (!loaded || !synth.Start(std::move(file))) return {};
    // The device's own block size, so that the end falls where the game's would.
    constexpr int kBlock = 512;
    std::vector<float> out;
    for (int64_t frames = 0; frames < int64_t(maxSeconds) * sampleRate; frames += kBlock) {
        out.resize(out.size() + 2 * kBlock, 0.0f);
        if (synth.Render(out.data() + out.size() - 2 * kBlock, kBlock)) break;
    }
    return out;
}

}  // namespace pabuko
