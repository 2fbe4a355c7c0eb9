#include "platform/SoundDevice.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/PulseStream.h"
#include "platform/SdlLibrary.h"
#include "platform/SoundMixer.h"

namespace pabuko {

// One SDL device and the thread that feeds it.
struct SoundStream {
    SDL_AudioDeviceID id = 0;
    SoundDevice::Core* core = nullptr;
    // Guards what this stream's thread mixes. Our own lock rather than SDL's: the audio
    // thread has to release it while it waits, and SDL's cannot be released from inside the
    // callback.
    std::recursive_mutex mutex;
    // While nothing sounds the audio thread waits in the callback until something may
    // have started: SDL's own pause keeps the thread waking for every block of silence.
    std::condition_variable_any wake;
    bool kicked = false;   // something may have started since the thread began to wait
    bool closing = false;  // the device is being closed: never wait again
    bool parked = false;
    uint64_t blocks = 0;
    // The music's stream straight to PulseAudio, when it plays there rather than on an SDL
    // device; it wakes itself.
    PulseStream* pulse = nullptr;

    // Wakes a waiting audio thread to look whether anything sounds now. With the lock held.
    void Kick() {
        kicked = true;
        wake.notify_one();
        if (pulse) pulse->Wake();
    }
};

// Shared with the buffers, so that a buffer that outlives the device stays harmless.
struct SoundDevice::Core {
    // The effects, and the music too where the backend opens no second device.
    SoundStream effects;
    // The music's own device with large blocks: the music needs no low latency, and each
    // block is a wake-up. Where SDL plays to PulseAudio, the music's stream goes to the
    // server straight, with a queue long enough to wake its thread five times a second.
    SoundStream music;
    std::unique_ptr<PulseStream> pulse;
    // The stream the extra source is mixed into; changed only while no device runs.
    SoundStream* musicStream = &effects;

    SoundMixer mixer{0};  // guarded by effects.mutex
    // Guarded by musicStream->mutex.
    std::function<void(float*, int)> extra;
    std::function<bool()> extraSounding;  // empty: the extra source always sounds
    SoundMixer musicLimiter{0};           // keeps the music's own stream within range

    Core() {
        effects.core = this;
        music.core = this;
    }
    bool Silent(const SoundStream& s) const {
        if (&s == &effects && mixer.AnyPlaying()) return false;
        if (&s == musicStream && extra && (!extraSounding || extraSounding())) return false;
        return true;
    }
    // On the audio thread, with the stream's lock held.
    void WaitWhileSilent(SoundStream& s, std::unique_lock<std::recursive_mutex>& lock) {
        while (!s.closing && Silent(s)) {
            s.kicked = false;
            s.parked = true;
            s.wake.wait(lock, [&s] { return s.kicked || s.closing; });
            s.parked = false;
        }
    }
};

namespace {

using Core = SoundDevice::Core;

struct Guard {
    SoundStream& stream;
    explicit Guard(Core& c) : stream(c.effects) { stream.mutex.lock(); }
    explicit Guard(SoundStream& s) : stream(s) { stream.mutex.lock(); }
    ~Guard() { stream.mutex.unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

// Brings a mixed block within range: the limiter's gain, then a hard clip for what is left.
void Finish(SoundMixer& limiter, float* out, int frames) {
    limiter.Limit(out, frames);
    for (int i = 0; i < 2 * frames; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void AudioCallback(void* user, Uint8* stream, int len) {
    auto* s = static_cast<SoundStream*>(user);
    Core& core = *s->core;
    auto* out = reinterpret_cast<float*>(stream);
    const int frames = len / static_cast<int>(2 * sizeof(float));
    std::unique_lock lock(s->mutex);
    core.WaitWhileSilent(*s, lock);
    ++s->blocks;
    std::fill(out, out + 2 * frames, 0.0f);
    const bool effects = s == &core.effects;
    if (effects) core.mixer.Mix(out, frames);
    if (s == core.musicStream && core.extra) core.extra(out, frames);
    Finish(effects ? core.mixer : core.musicLimiter, out, frames);
}

// The music's stream to PulseAudio asks for its blocks here, on its own thread.
bool FillMusic(Core& core, float* out, int frames) {
    SoundStream& s = core.music;
    std::lock_guard lock(s.mutex);
    if (s.closing || core.Silent(s)) return false;
    ++s.blocks;
    core.extra(out, frames);
    Finish(core.musicLimiter, out, frames);
    return true;
}

class DeviceBuffer : public SoundBuffer {
  public:
    DeviceBuffer(std::shared_ptr<Core> core, std::shared_ptr<const MixerSamples> samples)
        : core_(std::move(core)) {
        voice_.Samples = std::move(samples);
        Guard g(*core_);
        core_->mixer.Add(&voice_);
    }
    ~DeviceBuffer() override {
        Guard g(*core_);
        core_->mixer.Remove(&voice_);
    }
    DeviceBuffer(const DeviceBuffer&) = delete;
    DeviceBuffer& operator=(const DeviceBuffer&) = delete;

    std::unique_ptr<SoundBuffer> Duplicate() override {
        auto copy = std::make_unique<DeviceBuffer>(core_, voice_.Samples);
        Guard g(*core_);
        copy->voice_.Frequency = voice_.Frequency;
        copy->voice_.Pan = voice_.Pan;
        copy->voice_.Volume = voice_.Volume;
        return copy;
    }
    void Play(bool looped) override {
        Guard g(*core_);
        voice_.Looping = looped;
        voice_.Playing = true;
        core_->effects.Kick();
    }
    void Stop() override {
        Guard g(*core_);
        voice_.Playing = false;
        voice_.Looping = false;
    }
    void SetPosition(uint32_t bytes) override {
        const auto& s = *voice_.Samples;
        const uint64_t frame = std::min<uint64_t>(bytes / s.BlockAlign, s.Frames());
        Guard g(*core_);
        voice_.Position = frame << 32;
    }
    uint32_t Position() const override {
        Guard g(*core_);
        return static_cast<uint32_t>(voice_.Position >> 32) * voice_.Samples->BlockAlign;
    }
    void SetFrequency(int32_t hz) override {
        Guard g(*core_);
        voice_.Frequency = hz;
    }
    void SetPan(int32_t pan) override {
        Guard g(*core_);
        voice_.Pan = pan;
    }
    void SetVolume(int32_t volume) override {
        Guard g(*core_);
        voice_.Volume = volume;
    }
    SoundStatus Status() const override {
        Guard g(*core_);
        return {voice_.Playing, voice_.Playing && voice_.Looping};
    }

  private:
    std::shared_ptr<Core> core_;
    MixerVoice voice_;
};

}  // namespace

void PrepareSoundEnvironment() {
    setenv("PULSE_MEMPOOL_DISABLE", "1", 0);
}

SoundDevice::SoundDevice() : core_(std::make_shared<Core>()) {}

SoundDevice::~SoundDevice() {
    Finalize();
    Notify(SoundNotice::Destroying);
}

namespace {

// Frames in one block of the effects' stream: an effect is heard within 30 ms.
constexpr Uint16 kEffectFrames = 512;
// Frames in one block of the music's own stream: about a tenth of a second.
constexpr Uint16 kMusicFrames = 4096;

SDL_AudioDeviceID Open(const SdlLibrary& sdl, int freq, Uint16 frames, SoundStream& stream,
                       int allowedChanges, SDL_AudioSpec& have) {
    SDL_AudioSpec want{};
    want.freq = freq;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = frames;
    want.callback = AudioCallback;
    want.userdata = &stream;
    have = {};
    const SDL_AudioDeviceID id = sdl.SDL_OpenAudioDevice(nullptr, 0, &want, &have, allowedChanges);
    if (id != 0 && have.freq <= 0) {
        sdl.SDL_CloseAudioDevice(id);
        return 0;
    }
    return id;
}

}  // namespace

bool SoundDevice::Initialize() {
    if (Initialized()) return true;
    const SdlLibrary* sdl = Sdl();
    if (!sdl) return false;
    if (!sdl->SDL_WasInit(SDL_INIT_AUDIO)) {
        sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (sdl->SDL_Init(SDL_INIT_AUDIO) != 0) return false;
        ownsSdlAudio_ = true;
    }
    Core& core = *core_;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID id =
        Open(*sdl, 44100, kEffectFrames, core.effects, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE, have);
    if (id == 0) {
        if (ownsSdlAudio_) sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        ownsSdlAudio_ = false;
        return false;
    }
    for (SoundStream* s : {&core.effects, &core.music}) {
        Guard g(*s);
        s->closing = false;
    }
    // The music's own stream, at the effects' rate: straight to the server where SDL plays
    // to PulseAudio (or to PipeWire, whose pulse server takes it too), else an SDL device of
    // its own (SDL converts, should the backend not take the rate). Where the backend opens
    // only one device (SDL's dummy driver, ALSA straight onto the hardware), the music is
    // mixed into the effects' stream.
    const char* driver = sdl->SDL_GetCurrentAudioDriver();
    const std::string_view backend = driver ? driver : "";
    if (backend == "pulseaudio" || backend == "pipewire") {
        core.pulse = PulseStream::Open(
            have.freq, [&core](float* out, int frames) { return FillMusic(core, out, frames); },
            [&core] {
                std::lock_guard lock(core.music.mutex);
                return !core.music.closing && !core.Silent(core.music);
            });
    }
    SDL_AudioSpec musicHave{};
    const SDL_AudioDeviceID musicId =
        core.pulse ? 0 : Open(*sdl, have.freq, kMusicFrames, core.music, 0, musicHave);
    // Both devices are open paused: no callback runs yet.
    core.mixer.SetOutputRate(static_cast<uint32_t>(have.freq));
    core.musicLimiter.SetOutputRate(static_cast<uint32_t>(have.freq));
    core.musicStream = musicId != 0 || core.pulse ? &core.music : &core.effects;
    {
        Guard g(core.music);
        core.music.pulse = core.pulse.get();
        if (core.pulse) core.music.Kick();  // the source may have been set before
    }
    core.effects.id = id;
    core.music.id = musicId;
    sdl->SDL_PauseAudioDevice(id, 0);
    if (musicId != 0) sdl->SDL_PauseAudioDevice(musicId, 0);
    Notify(SoundNotice::Initialize);
    Notify(SoundNotice::Restore);
    return true;
}

void SoundDevice::Finalize() {
    if (!Initialized()) return;
    Notify(SoundNotice::Finalize);
    const SdlLibrary* sdl = Sdl();  // open: the device is
    if (core_->pulse) {
        {
            Guard g(core_->music);
            core_->music.closing = true;
            core_->music.pulse = nullptr;
        }
        core_->pulse.reset();  // its thread ends here
    }
    for (SoundStream* s : {&core_->music, &core_->effects}) {
        if (s->id == 0) continue;
        {
            Guard g(*s);
            s->closing = true;
            s->Kick();  // a waiting audio thread returns, so that SDL can end it
        }
        sdl->SDL_CloseAudioDevice(s->id);
        s->id = 0;
    }
    // Buffers still held elsewhere now run without a device.
    if (ownsSdlAudio_) sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
    ownsSdlAudio_ = false;
}

bool SoundDevice::Initialized() const {
    return core_->effects.id != 0;
}

std::unique_ptr<SoundBuffer> SoundDevice::CreateBuffer(std::span<const uint8_t> format,
                                                       std::span<const uint8_t> samples) {
    auto converted = ConvertSamples(format, samples);
    if (!Initialized() || !converted) throw std::runtime_error("Sound Buffer cannot be made");
    return std::make_unique<DeviceBuffer>(core_, std::move(converted));
}

int SoundDevice::SampleRate() const {
    return Initialized() ? static_cast<int>(core_->mixer.OutputRate()) : 0;
}

void SoundDevice::SetExtraSource(std::function<void(float*, int)> source,
                                 std::function<bool()> sounding) {
    Guard g(*core_->musicStream);
    core_->extra = std::move(source);
    core_->extraSounding = std::move(sounding);
    core_->musicStream->Kick();
}

void SoundDevice::Lock() {
    core_->musicStream->mutex.lock();
}
void SoundDevice::Unlock() {
    core_->musicStream->Kick();  // what changed under the lock may want to be heard
    core_->musicStream->mutex.unlock();
}

bool SoundDevice::Paused() const {
    for (SoundStream* s : {&core_->effects, &core_->music}) {
        Guard g(*s);
        if (s->id != 0 && !s->parked) return false;
    }
    if (core_->pulse && !core_->pulse->Paused()) return false;
    return core_->effects.id != 0;
}

bool SoundDevice::MusicPaused() const {
    if (core_->pulse) return core_->pulse->Paused();
    Guard g(*core_->musicStream);
    return core_->musicStream->id != 0 && core_->musicStream->parked;
}

bool SoundDevice::MusicHasItsOwnStream() const {
    return core_->music.id != 0 || core_->pulse;
}

void SoundDevice::DiscardQueuedMusic() {
    if (core_->pulse) core_->pulse->Discard();
}

uint64_t SoundDevice::BlocksMixed() const {
    uint64_t blocks = 0;
    for (SoundStream* s : {&core_->effects, &core_->music}) {
        Guard g(*s);
        blocks += s->blocks;
    }
    return blocks;
}

uint64_t SoundDevice::MusicBlocksMixed() const {
    Guard g(*core_->musicStream);
    return core_->musicStream->blocks;
}

void SoundDevice::SetMuted(bool muted) {
    Guard g(*core_);
    core_->mixer.SetMuted(muted);
}

}  // namespace pabuko
