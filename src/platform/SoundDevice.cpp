#include "platform/SoundDevice.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "platform/SdlLibrary.h"
#include "platform/SoundMixer.h"

namespace pabuko {

// Shared with the buffers, so that a buffer that outlives the device stays harmless.
struct SoundDevice::Core {
    SDL_AudioDeviceID id = 0;
    SoundMixer mixer{0};
    std::function<void(float*, int)> extra;
    std::function<bool()> extraSounding;  // empty: the extra source always sounds

    // Guards everything above and below. Our own lock rather than SDL's: the audio thread
    // has to release it while it waits, and SDL's cannot be released from inside the
    // callback.
    std::recursive_mutex mutex;
    // While nothing sounds the audio thread waits in the callback until something may
    // have started: SDL's own pause keeps the thread waking for every block of silence.
    std::condition_variable_any wake;
    bool kicked = false;   // something may have started since the thread began to wait
    bool closing = false;  // the device is being closed: never wait again
    bool parked = false;
    uint64_t blocks = 0;

    void Lock() { mutex.lock(); }
    void Unlock() { mutex.unlock(); }
    // Wakes a waiting audio thread to look whether anything sounds now.
    void Kick() {
        kicked = true;
        wake.notify_one();
    }
    bool Silent() const {
        return !mixer.AnyPlaying() && (!extra || (extraSounding && !extraSounding()));
    }
    // On the audio thread, with the lock held.
    void WaitWhileSilent(std::unique_lock<std::recursive_mutex>& lock) {
        while (!closing && Silent()) {
            kicked = false;
            parked = true;
            wake.wait(lock, [this] { return kicked || closing; });
            parked = false;
        }
    }
};

namespace {

using Core = SoundDevice::Core;

struct Guard {
    Core& core;
    explicit Guard(Core& c) : core(c) { core.Lock(); }
    ~Guard() { core.Unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

void AudioCallback(void* user, Uint8* stream, int len) {
    auto* core = static_cast<Core*>(user);
    auto* out = reinterpret_cast<float*>(stream);
    const int frames = len / static_cast<int>(2 * sizeof(float));
    std::unique_lock lock(core->mutex);
    core->WaitWhileSilent(lock);
    ++core->blocks;
    std::fill(out, out + 2 * frames, 0.0f);
    core->mixer.Mix(out, frames);
    if (core->extra) core->extra(out, frames);
    core->mixer.Limit(out, frames);
    for (int i = 0; i < 2 * frames; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
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
        core_->Kick();
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

SoundDevice::SoundDevice() : core_(std::make_shared<Core>()) {}

SoundDevice::~SoundDevice() {
    Finalize();
    Notify(SoundNotice::Destroying);
}

bool SoundDevice::Initialize() {
    if (Initialized()) return true;
    const SdlLibrary* sdl = Sdl();
    if (!sdl) return false;
    if (!sdl->SDL_WasInit(SDL_INIT_AUDIO)) {
        sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (sdl->SDL_Init(SDL_INIT_AUDIO) != 0) return false;
        ownsSdlAudio_ = true;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = AudioCallback;
    want.userdata = core_.get();
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID id =
        sdl->SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (id == 0 || have.freq <= 0) {
        if (id != 0) sdl->SDL_CloseAudioDevice(id);
        if (ownsSdlAudio_) sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        ownsSdlAudio_ = false;
        return false;
    }
    core_->mixer.SetOutputRate(static_cast<uint32_t>(have.freq));
    {
        Guard g(*core_);
        core_->closing = false;
    }
    core_->id = id;
    sdl->SDL_PauseAudioDevice(id, 0);
    Notify(SoundNotice::Initialize);
    Notify(SoundNotice::Restore);
    return true;
}

void SoundDevice::Finalize() {
    if (!Initialized()) return;
    Notify(SoundNotice::Finalize);
    const SdlLibrary* sdl = Sdl();  // open: the device is
    {
        Guard g(*core_);
        core_->closing = true;
        core_->Kick();  // a waiting audio thread returns, so that SDL can end it
    }
    sdl->SDL_CloseAudioDevice(core_->id);
    // Buffers still held elsewhere now run without a device.
    core_->id = 0;
    if (ownsSdlAudio_) sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
    ownsSdlAudio_ = false;
}

bool SoundDevice::Initialized() const {
    return core_->id != 0;
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
    Guard g(*core_);
    core_->extra = std::move(source);
    core_->extraSounding = std::move(sounding);
    core_->Kick();
}

void SoundDevice::Lock() {
    core_->Lock();
}
void SoundDevice::Unlock() {
    core_->Kick();  // what changed under the lock may want to be heard
    core_->Unlock();
}

bool SoundDevice::Paused() const {
    Guard g(*core_);
    return core_->parked;
}

uint64_t SoundDevice::BlocksMixed() const {
    Guard g(*core_);
    return core_->blocks;
}

void SoundDevice::SetMuted(bool muted) {
    Guard g(*core_);
    core_->mixer.SetMuted(muted);
}

}  // namespace pabuko
