#pragma once
// `TDXWaveList`: the game's sound effects, addressed by index, played on copies of one master
// buffer per item through the sound-buffer service it is linked to.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "assets/HashCollection.h"
#include "assets/WaveFile.h"
#include "platform/SoundService.h"

namespace pabuko {

class WaveCollection;

// `TWaveCollectionItem`
class WaveCollectionItem : public HashCollectionItem {
  public:
    explicit WaveCollectionItem(WaveCollection& owner) : owner_(owner) {}
    ~WaveCollectionItem() { Finalize(); }
    WaveCollectionItem(const WaveCollectionItem&) = delete;
    WaveCollectionItem& operator=(const WaveCollectionItem&) = delete;

    // Applied to every buffer at restore and at every play; 0 leaves the wave unchanged.
    int32_t Frequency = 0;
    int32_t Pan = 0;
    int32_t Volume = 0;

    bool Looped() const { return looped_; }
    // A new value first stops all of the item's buffers.
    void SetLooped(bool looped);
    int32_t MaxPlayingCount() const { return maxPlayingCount_; }
    // Negative is stored as 0 (no limit); a new value releases the play copies.
    void SetMaxPlayingCount(int32_t count);
    const Wave& GetWave() const { return wave_; }
    void SetWave(const Wave& wave) { wave_ = wave; }

    // Starts one playback; with `wait` returns only after it has ended.
    void Play(bool wait = false);

    bool Initialized() const { return initialized_; }
    void Initialize();
    void Finalize();
    // Makes the master buffer (when there are samples) and applies the fields to it.
    void Restore();
    // The master buffer, restored first when missing; nullptr when there is none.
    SoundBuffer* Buffer();
    const std::vector<std::unique_ptr<SoundBuffer>>& PlayCopies() const { return copies_; }

  private:
    void ApplyFields(SoundBuffer& buffer) const;

    WaveCollection& owner_;
    bool looped_ = false;
    int32_t maxPlayingCount_ = 0;
    Wave wave_;
    bool initialized_ = false;
    std::unique_ptr<SoundBuffer> master_;
    std::vector<std::unique_ptr<SoundBuffer>> copies_;
};

// `TWaveCollection`
class WaveCollection : public HashCollection<WaveCollection, WaveCollectionItem, SoundService> {
  public:
    WaveCollection() = default;

    // Replaces all items by those of a wave list file. On an error (a StreamError with the
    // message for the player) the items read before it stay. A file whose waves together
    // hold more than 16 MB of samples is refused before they are kept, and the list keeps
    // the items it had.
    void LoadFromStream(std::span<const uint8_t> bytes);
    // `resourceName` goes into the resource header, which readers ignore.
    std::vector<uint8_t> SaveToStream(std::string_view resourceName = "WAVES") const;

    SoundService* Sound() const { return InUse(); }
    // Finalizes every item, remembers the sound output and, when it is initialized, flags
    // the items initialized.
    void Initialize(SoundService* sound) { Attach(sound); }
};

// `TDXWaveList`
class WaveList : public SoundListener {
  public:
    WaveList() = default;
    ~WaveList() override;
    WaveList(const WaveList&) = delete;
    WaveList& operator=(const WaveList&) = delete;

    WaveCollection Items;

    SoundService* DXSound() const { return sound_; }
    // Links the list for the output's notifications; an output that is already initialized
    // initializes and restores the list at once.
    void SetDXSound(SoundService* sound);
    void SoundNotify(SoundNotice notice) override;

  private:
    SoundService* sound_ = nullptr;
};

}  // namespace pabuko
