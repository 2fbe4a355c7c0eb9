#include "assets/WaveList.h"

#include <algorithm>
#include <chrono>
#include <fstream>
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

WaveCollectionItem& WaveCollection::operator[](int index) {
    if (index < 0 || index >= Count())
        throw StreamError(stream_messages::ListIndexOutOfBounds(index));
    return *items_[static_cast<size_t>(index)];
}

const WaveCollectionItem& WaveCollection::operator[](int index) const {
    return const_cast<WaveCollection&>(*this)[index];
}

WaveCollectionItem& WaveCollection::Add() {
    items_.push_back(std::make_unique<WaveCollectionItem>(*this));
    return *items_.back();
}

void WaveCollection::Clear() {
    items_.clear();
}

void WaveCollection::Initialize(SoundService* sound) {
    for (auto& item : items_) item->Finalize();
    sound_ = sound;
    for (auto& item : items_) item->Initialize();
}

void WaveCollection::Finalize() {
    for (auto& item : items_) item->Finalize();
    sound_ = nullptr;
}

void WaveCollection::Restore() {
    for (auto& item : items_) item->Restore();
}

void WaveCollection::LoadFromFile(const std::string& path) {
    LoadFromStream(ReadStreamFile(path));
}

namespace {
// Sample bytes all waves of one file may hold (the mixer keeps four times as much as
// floats). The shipped effects are well under a megabyte.
constexpr size_t kMaxListSampleBytes = size_t{16} << 20;

class WaveBudgetError : public StreamError {
  public:
    using StreamError::StreamError;
};
}  // namespace

void WaveCollection::LoadFromStream(std::span<const uint8_t> bytes) {
    // A file whose waves would take more memory than any real one is refused whole, and the
    // list keeps what it had.
    auto kept = std::move(items_);
    items_.clear();
    try {
        LoadItems(bytes);
    } catch (const WaveBudgetError&) {
        items_ = std::move(kept);
        throw;
    }
    kept.clear();

    if (Initialized()) {
        Initialize(sound_);
        Restore();
    }
}

void WaveCollection::LoadItems(std::span<const uint8_t> bytes) {
    size_t sampleBytes = 0;
    ObjectStreamReader in(bytes);
    in.ReadResourceHeader();
    const RootHeader head = in.ReadRootStart();

    WaveCollectionItem* item = nullptr;
    PropertySet wave("TWave");
    wave.Value("WAVE", [&](ObjectStreamReader& r) {
        const auto payload = r.ReadBinary();
        Wave w = ReadWavePayload(payload);
        sampleBytes += w.Data.size();
        if (sampleBytes > kMaxListSampleBytes) throw WaveBudgetError("Wave is invalid");
        item->SetWave(std::move(w));
    });
    PropertySet itemProps(kItemClassName);
    itemProps.Value("Name", [&](ObjectStreamReader& r) { item->Name = r.ReadString(); })
        .Value("Looped", [&](ObjectStreamReader& r) { item->SetLooped(r.ReadBoolean()); })
        .Value("MaxPlayingCount",
               [&](ObjectStreamReader& r) { item->SetMaxPlayingCount(r.ReadInteger()); })
        .Object("Wave", &wave);

    PropertySet root(head.objectName.empty() ? kClassName : head.objectName);
    root.Value("List", [&](ObjectStreamReader& r) {
        r.ReadCollection([&](ObjectStreamReader& itemIn) {
            item = &Add();
            itemIn.ReadProperties(itemProps);
        });
    });
    in.ReadProperties(root);
    in.ReadNoChildren();
}

std::vector<uint8_t> WaveCollection::SaveToStream(std::string_view resourceName) const {
    ObjectStreamWriter out;
    out.BeginRoot(resourceName, kClassName);
    out.Name("List");
    out.BeginCollection();
    for (const auto& item : items_) {
        out.BeginItem();
        if (!item->Name.empty()) {
            out.Name("Name");
            out.String(item->Name);
        }
        out.Name("Looped");
        out.Boolean(item->Looped());
        out.Name("MaxPlayingCount");
        out.Integer(item->MaxPlayingCount());
        out.Name("Wave.WAVE");
        out.Binary(WriteWavePayload(item->GetWave()));
        out.End();
    }
    out.End();
    return out.Finish();
}

void WaveCollection::SaveToFile(const std::string& path) const {
    const auto bytes = SaveToStream();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw StreamError("Cannot write file \"" + path + "\"");
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
