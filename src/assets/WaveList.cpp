#include "assets/WaveList.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "assets/ObjectStream.h"

namespace pabuko {

namespace {

constexpr const char* kClassName = "TWaveCollectionComponent";
constexpr const char* kItemClassName = "TWaveCollectionItem";

bool Sounding(const SoundBuffer& buffer) {
    const SoundStatus s = buffer.Status();
    return s.Playing || s.Looping;
}

}  // namespace

// ---- WaveCollectionItem

void WaveCollectionItem::SetLooped(bool looped) {
    if (looped == looped_) return;
    if (master_) master_->Stop();
    for (auto& c : copies_) c->Stop();
    looped_ = looped;
}

void WaveCollectionItem::SetMaxPlayingCount(int32_t count) {
    count = std::max(count, 0);
    if (count == maxPlayingCount_) return;
    if (initialized_) copies_.clear();
    maxPlayingCount_ = count;
}

void WaveCollectionItem::Initialize() {
    Finalize();
    initialized_ = owner_.Initialized();
}

void WaveCollectionItem::Finalize() {
    if (!initialized_) return;
    initialized_ = false;
    copies_.clear();
    master_.reset();
}

void WaveCollectionItem::Restore() {
    if (wave_.Data.empty()) return;
    if (!initialized_ && owner_.Initialized()) Initialize();
    if (!initialized_) return;
    if (!master_) master_ = owner_.Sound()->CreateBuffer(wave_.Format, wave_.Data);
    ApplyFields(*master_);
}

SoundBuffer* WaveCollectionItem::Buffer() {
    if (initialized_ && !master_) Restore();
    return master_.get();
}

void WaveCollectionItem::ApplyFields(SoundBuffer& buffer) const {
    buffer.SetFrequency(Frequency);
    buffer.SetPan(Pan);
    buffer.SetVolume(Volume);
}

void WaveCollectionItem::Play(bool wait) {
    if (!initialized_) return;
    if (looped_) {
        SoundBuffer* master = Buffer();
        if (!master) return;
        master->Stop();
        master->SetPosition(0);
        master->Play(true);
        return;
    }

    auto free =
        std::find_if(copies_.begin(), copies_.end(), [](const auto& c) { return !Sounding(*c); });
    SoundBuffer* copy = nullptr;
    if (free != copies_.end()) {
        copy = free->get();
    } else if (maxPlayingCount_ == 0 || copies_.size() < static_cast<size_t>(maxPlayingCount_)) {
        SoundBuffer* master = Buffer();
        if (!master) return;
        copies_.push_back(master->Duplicate());
        copy = copies_.back().get();
    } else {
        // All copies sound: the oldest is cut off and goes to the end of the line.
        std::rotate(copies_.begin(), copies_.begin() + 1, copies_.end());
        copy = copies_.back().get();
    }

    copy->Stop();
    copy->SetPosition(0);
    ApplyFields(*copy);
    copy->Play(false);
    while (wait && Sounding(*copy)) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// ---- WaveCollection

namespace {
// Sample bytes all waves of one file may hold (the mixer keeps four times as much as
// floats). The shipped effects are well under a megabyte.
constexpr size_t kMaxListSampleBytes = size_t{16} << 20;
}  // namespace

void WaveCollection::LoadFromStream(std::span<const uint8_t> bytes) {
    size_t sampleBytes = 0;
    // One wave object for all items, pointed at the item being read.
    WaveCollectionItem* current = nullptr;
    PropertySet wave("TWave");
    wave.Value("WAVE", [&](ObjectStreamReader& r) {
        const auto payload = r.ReadBinary();
        Wave w = ReadWavePayload(payload);
        sampleBytes += w.Data.size();
        if (sampleBytes > kMaxListSampleBytes) throw ListBudgetError("Wave is invalid");
        current->SetWave(std::move(w));
    });
    const auto describeItem = [&](PropertySet& props, WaveCollectionItem& item) {
        current = &item;
        props.Value("Looped", [&item](ObjectStreamReader& r) { item.SetLooped(r.ReadBoolean()); })
            .Value("MaxPlayingCount",
                   [&item](ObjectStreamReader& r) { item.SetMaxPlayingCount(r.ReadInteger()); })
            .Object("Wave", &wave);
    };
    ReplaceItems(
        bytes, kClassName, kItemClassName, [](PropertySet&) {}, describeItem);
}

std::vector<uint8_t> WaveCollection::SaveToStream(std::string_view resourceName) const {
    const auto writeItem = [](ObjectStreamWriter& w, const WaveCollectionItem& item) {
        w.Name("Looped");
        w.Boolean(item.Looped());
        w.Name("MaxPlayingCount");
        w.Integer(item.MaxPlayingCount());
        w.Name("Wave.WAVE");
        w.Binary(WriteWavePayload(item.GetWave()));
    };
    return WriteItems(
        resourceName, kClassName, [](ObjectStreamWriter&) {}, writeItem);
}

// ---- WaveList

WaveList::~WaveList() {
    Items.Clear();
    if (sound_) sound_->Unlink(this);
}

void WaveList::SetDXSound(SoundService* sound) {
    if (sound == sound_) return;
    if (sound_) {
        if (Items.Sound() == sound_) Items.Finalize();
        sound_->Unlink(this);
    }
    sound_ = sound;
    if (!sound_) return;
    sound_->Link(this);
    if (sound_->Initialized()) {
        Items.Initialize(sound_);
        Items.Restore();
    }
}

void WaveList::SoundNotify(SoundNotice notice) {
    switch (notice) {
        case SoundNotice::Initialize:
            Items.Initialize(sound_);
            break;
        case SoundNotice::Restore:
            Items.Restore();
            break;
        case SoundNotice::Finalize:
            Items.Finalize();
            break;
        case SoundNotice::Destroying:
            SetDXSound(nullptr);
            break;
    }
}

}  // namespace pabuko
