#pragma once
// The sound output component: an SDL2 audio device for the effects, its software mixer, the
// buffers the wave lists play, and where the backend allows a second device, one for the
// music. Without an audio device it stays uninitialized and the lists linked to it play
// nothing, silently.
#include <functional>
#include <memory>

#include "platform/SoundService.h"

namespace pabuko {

// Asks libpulse, for the streams this process will open, to send the sound over the
// socket rather than through shared memory: every block handed back through shared memory
// is one more wake-up of the stream's thread (five to ten a second for the music, as many
// for the effects while they play), and the copy costs less than that. A value the user has set
// stays. Call it before any thread starts: it changes the environment.
void PrepareSoundEnvironment();

class SoundDevice : public SoundService {
  public:
    SoundDevice();
    ~SoundDevice() override;

    // Opens the audio device (interleaved stereo float at about 44100 Hz, 512-frame blocks so
    // that an effect is heard within 30 ms), and a stream of the extra source's own at the
    // same rate: straight to the server where SDL plays to PulseAudio (three quarters of a
    // second queued, five wake-ups a second), else a second device with 4096-frame blocks, which
    // wake the audio thread eight times less often; where the backend opens only one device the
    // extra source shares the first. Then tells the linked lists to initialize and restore. Returns
    // false, with no message, when there is no device. Call it after the QApplication exists.
    bool Initialize();
    // Tells the linked lists to release their buffers, then closes the device.
    void Finalize();

    bool Initialized() const override;
    std::unique_ptr<SoundBuffer> CreateBuffer(std::span<const uint8_t> format,
                                              std::span<const uint8_t> samples) override;

    // The device's sample rate; 0 while not initialized.
    int SampleRate() const;
    // A source played beside the effects, e.g. the music synthesizer: on its own stream, or
    // mixed after the effects into theirs. It is called on an audio thread with the lock
    // below held and adds `frames` frames of interleaved stereo float into its buffer. An
    // empty function removes it. `sounding`, asked under the lock, tells whether it has
    // anything more to add; without it the source counts as always sounding.
    void SetExtraSource(std::function<void(float*, int)> source,
                        std::function<bool()> sounding = {});
    // The lock the audio thread holds while it mixes the extra source; free to take while not
    // initialized. Unlock also resumes a paused stream, so that a source started under the
    // lock is heard. The effects' buffers take their own stream's lock.
    void Lock();
    void Unlock();
    // A stream with nothing to play pauses: no callback, no wake-ups. The effects' stream
    // pauses while no effect plays (and the extra source is silent, where it shares it); the
    // extra source's own stream while the source is silent. Playing a buffer resumes the
    // effects' stream at once, Unlock the extra source's. Paused: every stream is paused.
    bool Paused() const;
    // The stream the extra source plays in is paused.
    bool MusicPaused() const;
    // The extra source has a device of its own.
    bool MusicHasItsOwnStream() const;
    // Blocks the audio threads have mixed so far, and of them those of the stream the extra
    // source plays in.
    uint64_t BlocksMixed() const;
    uint64_t MusicBlocksMixed() const;
    // Drops the music that its own stream has queued but not yet played, so that a stop is
    // heard at once; the SDL streams queue too little to matter.
    void DiscardQueuedMusic();
    // Effects run on unheard while muted (the program lost the focus); the extra source
    // still sounds.
    void SetMuted(bool muted);

    struct Core;

  private:
    std::shared_ptr<Core> core_;
    bool ownsSdlAudio_ = false;
};

}  // namespace pabuko
