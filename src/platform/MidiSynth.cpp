#include "platform/MidiSynth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <filesystem>

namespace pabuko {

namespace {

// Longest a note may ring on after the last event before it is released.
constexpr int kMaxTailSeconds = 3;
// The reverb rings on this long after the last voice before rendering idles.
constexpr int kIdleAfterSeconds = 2;
constexpr int kScratchFrames = 1024;

}  // namespace

std::string FindSoundFont() {
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return {};
}

MidiSynth::MidiSynth(int sampleRate) : sampleRate_(sampleRate > 0 ? sampleRate : 44100) {
    // FluidSynth's log goes to stderr; a game has no use for it.
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
        fluid_set_log_function(level, nullptr, nullptr);
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate_);
    // Loud enough beside the effects, with room left for chords.
    fluid_settings_setnum(settings_, "synth.gain", 0.7);
    // The tracks use a handful of parts; 48 voices is plenty and bounds the cost.
    fluid_settings_setint(settings_, "synth.polyphony", 48);
    fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    // A small warm room and a slow, shallow chorus: the parts breathe without washing out.
    fluid_settings_setint(settings_, "synth.reverb.active", 1);
    fluid_settings_setnum(settings_, "synth.reverb.room-size", 0.42);
    fluid_settings_setnum(settings_, "synth.reverb.damp", 0.45);
    fluid_settings_setnum(settings_, "synth.reverb.width", 0.8);
    fluid_settings_setnum(settings_, "synth.reverb.level", 0.6);
    fluid_settings_setint(settings_, "synth.chorus.active", 1);
    fluid_settings_setint(settings_, "synth.chorus.nr", 2);
    fluid_settings_setnum(settings_, "synth.chorus.level", 1.2);
    fluid_settings_setnum(settings_, "synth.chorus.speed", 0.3);
    fluid_settings_setnum(settings_, "synth.chorus.depth", 4.0);
    synth_ = new_fluid_synth(settings_);
    scratch_.resize(2 * kScratchFrames);
}

MidiSynth::~MidiSynth() {
    DeletePlayer();
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

bool MidiSynth::LoadSoundFont(const std::string& path) {
    if (!synth_ || path.empty()) return false;
    if (fontId_ >= 0) fluid_synth_sfunload(synth_, fontId_, 1);
    fontId_ = fluid_synth_sfload(synth_, path.c_str(), 1);
    if (fontId_ == FLUID_FAILED) fontId_ = -1;
    return fontId_ >= 0;
}

void MidiSynth::DeletePlayer() {
    if (player_) {
        fluid_player_stop(player_);
        delete_fluid_player(player_);
        player_ = nullptr;
    }
}

bool MidiSynth::Start(std::vector<uint8_t> file) {
    Stop();
    DeletePlayer();
    if (!synth_ || !LooksLikeMidiFile(file)) return false;
    file_ = std::move(file);
    player_ = new_fluid_player(synth_);
    if (!player_ || fluid_player_add_mem(player_, file_.data(), file_.size()) != FLUID_OK ||
        fluid_player_play(player_) != FLUID_OK) {
        DeletePlayer();
        return false;
    }
    playing_ = true;
    started_ = false;
    tailFrames_ = 0;
    idleFrames_ = 0;
    return true;
}

void MidiSynth::Stop() {
    if (player_) fluid_player_stop(player_);
    if (synth_) fluid_synth_all_sounds_off(synth_, -1);
    playing_ = false;
}

bool MidiSynth::Sounding() const {
    return synth_ && (playing_ || idleFrames_ < int64_t(kIdleAfterSeconds) * sampleRate_);
}

bool MidiSynth::Render(float* out, int frames) {
    if (!synth_ || frames <= 0) return false;
    if (!playing_ && fluid_synth_get_active_voice_count(synth_) == 0) {
        // Nothing sounds: once the reverb has rung out there is nothing left to compute.
        if (idleFrames_ >= int64_t(kIdleAfterSeconds) * sampleRate_) return false;
        idleFrames_ += frames;
    } else {
        idleFrames_ = 0;
    }
    for (int done = 0; done < frames;) {
        const int n = std::min(frames - done, kScratchFrames);
        float* s = scratch_.data();
        fluid_synth_write_float(synth_, n, s, 0, 2, s, 1, 2);
        float* o = out + 2 * done;
        for (int i = 0; i < 2 * n; ++i) o[i] += s[i];
        done += n;
    }
    if (!playing_) return false;
    // The player reads its file during the first block it is given.
    if (!started_) {
        started_ = true;
        if (fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING) return false;
    }
    const bool eventsDone =
        fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING ||
        fluid_player_get_current_tick(player_) >= fluid_player_get_total_ticks(player_);
    if (!eventsDone) return false;
    tailFrames_ += frames;
    if (fluid_synth_get_active_voice_count(synth_) > 0 &&
        tailFrames_ < int64_t(kMaxTailSeconds) * sampleRate_)
        return false;
    fluid_player_stop(player_);
    fluid_synth_all_notes_off(synth_, -1);
    playing_ = false;
    return true;
}

std::vector<float> RenderMidiFile(std::vector<uint8_t> file, const std::string& soundFont,
                                  int sampleRate, int maxSeconds) {
    MidiSynth synth(sampleRate);
    if (!synth.LoadSoundFont(soundFont) || !synth.Start(std::move(file))) return {};
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
