#pragma once
// The sound output component: one SDL2 audio device, its software mixer, and the buffers
// the wave lists play. Without an audio device it stays uninitialized and the lists linked
// to it play nothing, silently.
#include <functional>
#include <memory>

#include "platform/SoundService.h"

namespace pabuko {

class SoundDevice : public SoundService {
  public:
    SoundDevice();
    ~SoundDevice() override;

    // Opens the audio device (interleaved stereo float at about 44100 Hz, 512-frame blocks so
    // that an effect is heard within 30 ms) and tells the linked lists to initialize and
    // restore. Returns false, with no message, when there is no device. Call it after the
    // QApplication exists.
    bool Initialize();
    // Tells the linked lists to release their buffers, then closes the device.
    void Finalize();

    bool Initialized() const override;
    std::unique_ptr<SoundBuffer> CreateBuffer(std::span<const uint8_t> format,
                                              std::span<const uint8_t> samples) override;

    // The device's sample rate; 0 while not initialized.
    int SampleRate() const;
    // A source mixed after the effects into the same stream, e.g. the music synthesizer. It
    // is called on the audio thread with the device lock held and adds `frames` frames of
    // interleaved stereo float into its buffer. An empty function removes it. `sounding`,
    // asked under the lock, tells whether it has anything more to add; without it the
    // source counts as always sounding.
    void SetExtraSource(std::function<void(float*, int)> source,
                        std::function<bool()> sounding = {});
    // The lock the audio thread holds while it mixes; free to take while not initialized.
    // Unlock also resumes a paused device, so that a source started under the lock is heard.
    void Lock();
    void Unlock();
    // While no effect plays and the extra source is silent the device pauses: no callback,
    // no wake-ups. Playing a buffer resumes it at once.
    bool Paused() const;
    // Blocks the audio thread has mixed so far.
    uint64_t BlocksMixed() const;
    // Effects run on unheard while muted (the program lost the focus); the extra source
    // still sounds.
    void SetMuted(bool muted);

    struct Core;

  private:
    std::shared_ptr<Core> core_;
    bool ownsSdlAudio_ = false;
};

}  // namespace pabuko
