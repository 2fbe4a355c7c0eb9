#pragma once
// The sound-buffer service the wave list plays through. The platform implements it over
// its audio device; tests fake it.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace pabuko {

struct SoundStatus {
    bool Playing = false;
    bool Looping = false;  // only ever true while Playing
};

// One voice: sample data (shared with its duplicates) plus its own cursor and settings.
class SoundBuffer {
  public:
    virtual ~SoundBuffer() = default;
    // A stopped buffer at position 0 that shares this one's samples.
    virtual std::unique_ptr<SoundBuffer> Duplicate() = 0;
    // Starts from the current position; a buffer that is not looped stops at its end.
    virtual void Play(bool looped) = 0;
    // Stops and keeps the position.
    virtual void Stop() = 0;
    // Byte offset into the sample data.
    virtual void SetPosition(uint32_t bytes) = 0;
    virtual uint32_t Position() const = 0;
    // Samples per second; 0 is the wave's own rate.
    virtual void SetFrequency(int32_t hz) = 0;
    // Hundredths of a decibel: -10000 (left only) .. 0 (centre) .. 10000 (right only).
    virtual void SetPan(int32_t pan) = 0;
    // Hundredths of a decibel of attenuation: -10000 (silent) .. 0 (full).
    virtual void SetVolume(int32_t volume) = 0;
    virtual SoundStatus Status() const = 0;
};

enum class SoundNotice { Destroying, Initialize, Finalize, Restore };

class SoundListener {
  public:
    virtual ~SoundListener() = default;
    virtual void SoundNotify(SoundNotice notice) = 0;
};

// The sound output component: its device and the lists linked to it.
class SoundService {
  public:
    SoundService() = default;
    SoundService(const SoundService&) = delete;
    SoundService& operator=(const SoundService&) = delete;
    virtual ~SoundService() = default;

    virtual bool Initialized() const = 0;
    // A buffer holding its own copy of the samples. Throws std::runtime_error
    // "Sound Buffer cannot be made" when the format cannot be played.
    virtual std::unique_ptr<SoundBuffer> CreateBuffer(std::span<const uint8_t> format,
                                                      std::span<const uint8_t> samples) = 0;

    void Link(SoundListener* listener) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
            listeners_.push_back(listener);
    }
    void Unlink(SoundListener* listener) { std::erase(listeners_, listener); }

  protected:
    // A listener may unlink itself while it is told.
    void Notify(SoundNotice notice) {
        const auto listeners = listeners_;
        for (auto* l : listeners)
            if (std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end())
                l->SoundNotify(notice);
    }

  private:
    std::vector<SoundListener*> listeners_;
};

}  // namespace pabuko
