#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "assets/ObjectStream.h"
#include "assets/WaveList.h"

namespace pabuko {
namespace {

using Bytes = std::vector<uint8_t>;

// A sound service that records what the list does to its buffers.
struct FakeSound : SoundService {
    struct Buffer : SoundBuffer {
        FakeSound& sound;
        bool isCopy;
        SoundStatus status;
        uint32_t position = 77;
        int32_t frequency = -1, pan = -1, volume = -1;
        int starts = 0;
        int stopsAfterPolls = -1;  // the playback ends after this many status queries

        Buffer(FakeSound& s, bool copy) : sound(s), isCopy(copy) { ++sound.live; }
        ~Buffer() override { --sound.live; }
        std::unique_ptr<SoundBuffer> Duplicate() override {
            ++sound.duplicates;
            auto copy = std::make_unique<Buffer>(sound, true);
            copy->stopsAfterPolls = sound.pollsToEnd;
            return copy;
        }
        void Play(bool looped) override {
            ++starts;
            status = {true, looped};
        }
        void Stop() override { status = {}; }
        void SetPosition(uint32_t p) override { position = p; }
        uint32_t Position() const override { return position; }
        void SetFrequency(int32_t v) override { frequency = v; }
        void SetPan(int32_t v) override { pan = v; }
        void SetVolume(int32_t v) override { volume = v; }
        SoundStatus Status() const override {
            auto* self = const_cast<Buffer*>(this);
            if (self->stopsAfterPolls == 0) self->status = {};
            if (self->stopsAfterPolls >= 0) --self->stopsAfterPolls;
            return status;
        }
    };

    bool initialized = true;
    int live = 0;
    int made = 0;
    int duplicates = 0;
    int pollsToEnd = -1;

    bool Initialized() const override { return initialized; }
    std::unique_ptr<SoundBuffer> CreateBuffer(std::span<const uint8_t> format,
                                              std::span<const uint8_t>) override {
        if (format.size() < 16) throw StreamError("Sound Buffer cannot be made");
        ++made;
        return std::make_unique<Buffer>(*this, false);
    }
    void Send(SoundNotice n) { Notify(n); }
};

FakeSound::Buffer& Fake(SoundBuffer* b) {
    return *static_cast<FakeSound::Buffer*>(b);
}
FakeSound::Buffer& Fake(const std::unique_ptr<SoundBuffer>& b) {
    return Fake(b.get());
}

Wave Beep() {
    Wave w;
    w.Format = MakePcmFormat(1, 22050, 8);
    w.Data = Bytes(100, 200);
    return w;
}

class WaveListTest : public ::testing::Test {
  protected:
    void SetUp() override { list.SetDXSound(&sound); }
    WaveCollectionItem& AddBeep(int32_t maxPlaying = 0, bool looped = false) {
        auto& item = list.Items.Add();
        item.SetWave(Beep());
        item.SetMaxPlayingCount(maxPlaying);
        item.SetLooped(looped);
        item.Initialize();
        return item;
    }
    FakeSound sound;
    WaveList list;
};

TEST_F(WaveListTest, QuickPlaysOverlapOnNewCopiesWithoutLimit) {
    auto& item = AddBeep();
    for (int i = 0; i < 3; ++i) item.Play();
    ASSERT_EQ(item.PlayCopies().size(), 3u);
    for (auto& c : item.PlayCopies()) EXPECT_TRUE(Fake(c).status.Playing);
    EXPECT_EQ(sound.made, 1);
    EXPECT_EQ(Fake(item.Buffer()).starts, 0);  // the master itself never plays
}

TEST_F(WaveListTest, AtTheLimitTheOldestCopyIsCutOffAndQueuedLast) {
    auto& item = AddBeep(2);
    item.Play();
    item.Play();
    SoundBuffer* first = item.PlayCopies()[0].get();
    SoundBuffer* second = item.PlayCopies()[1].get();
    Fake(first).position = 500;
    item.Play();
    ASSERT_EQ(item.PlayCopies().size(), 2u);
    EXPECT_EQ(item.PlayCopies()[0].get(), second);
    EXPECT_EQ(item.PlayCopies()[1].get(), first);
    EXPECT_EQ(Fake(first).starts, 2);
    EXPECT_EQ(Fake(first).position, 0u);
    item.Play();
    EXPECT_EQ(Fake(second).starts, 2);
    EXPECT_EQ(item.PlayCopies()[0].get(), first);
    EXPECT_EQ(sound.duplicates, 2);
}

TEST_F(WaveListTest, FinishedCopyIsReusedInPlace) {
    auto& item = AddBeep(5);
    item.Play();
    item.Play();
    SoundBuffer* first = item.PlayCopies()[0].get();
    Fake(first).status = {};
    item.Play();
    EXPECT_EQ(item.PlayCopies().size(), 2u);
    EXPECT_EQ(item.PlayCopies()[0].get(), first);
    EXPECT_EQ(Fake(first).starts, 2);
}

TEST_F(WaveListTest, LoopedItemRestartsItsOneMasterBuffer) {
    auto& item = AddBeep(0, true);
    item.Play();
    SoundBuffer* master = item.Buffer();
    EXPECT_TRUE(Fake(master).status.Looping);
    Fake(master).position = 40;
    item.Play();
    EXPECT_EQ(Fake(master).starts, 2);
    EXPECT_EQ(Fake(master).position, 0u);
    EXPECT_TRUE(Fake(master).status.Looping);
    EXPECT_TRUE(item.PlayCopies().empty());
}

TEST_F(WaveListTest, ItemsWithoutSamplesPlayNothing) {
    for (bool looped : {false, true}) {
        auto& item = list.Items.Add();
        Wave w = Beep();
        w.Data.clear();
        item.SetWave(w);
        item.SetLooped(looped);
        item.Initialize();
        item.Play();
        EXPECT_EQ(item.Buffer(), nullptr);
        EXPECT_TRUE(item.PlayCopies().empty());
    }
    EXPECT_EQ(sound.made, 0);
}

TEST_F(WaveListTest, FieldsAreAppliedAtRestoreAndAtEveryPlay) {
    auto& item = AddBeep();
    item.Frequency = 11025;
    item.Pan = -300;
    item.Volume = -200;
    item.Restore();
    EXPECT_EQ(Fake(item.Buffer()).frequency, 11025);
    item.Pan = 100;
    item.Play();
    auto& copy = Fake(item.PlayCopies()[0]);
    EXPECT_EQ(copy.frequency, 11025);
    EXPECT_EQ(copy.pan, 100);
    EXPECT_EQ(copy.volume, -200);
    EXPECT_EQ(copy.position, 0u);
}

TEST_F(WaveListTest, ChangingLoopedStopsAndChangingTheLimitReleasesCopies) {
    auto& item = AddBeep(3);
    item.Play();
    item.Play();
    item.SetLooped(false);  // same value: nothing happens
    EXPECT_TRUE(Fake(item.PlayCopies()[0]).status.Playing);
    item.SetLooped(true);
    for (auto& c : item.PlayCopies()) EXPECT_FALSE(Fake(c).status.Playing);
    item.SetMaxPlayingCount(3);
    EXPECT_EQ(item.PlayCopies().size(), 2u);
    item.SetMaxPlayingCount(-4);
    EXPECT_EQ(item.MaxPlayingCount(), 0);
    EXPECT_TRUE(item.PlayCopies().empty());
    EXPECT_EQ(sound.live, 1);
}

TEST_F(WaveListTest, WaitingPlayReturnsWhenItsCopyHasEnded) {
    auto& item = AddBeep();
    sound.pollsToEnd = 3;
    item.Play(true);
    auto& copy = Fake(item.PlayCopies()[0]);
    EXPECT_EQ(copy.starts, 1);
    EXPECT_FALSE(copy.status.Playing);
    EXPECT_LT(copy.stopsAfterPolls, 0);
}

TEST_F(WaveListTest, NotificationsDriveTheBuffers) {
    auto& item = AddBeep();
    item.Play();
    EXPECT_EQ(sound.live, 2);
    sound.Send(SoundNotice::Finalize);
    EXPECT_EQ(sound.live, 0);
    EXPECT_FALSE(item.Initialized());
    item.Play();
    EXPECT_EQ(sound.live, 0);
    sound.Send(SoundNotice::Initialize);
    EXPECT_TRUE(item.Initialized());
    EXPECT_EQ(sound.live, 0);
    sound.Send(SoundNotice::Restore);
    EXPECT_EQ(sound.live, 1);
    sound.Send(SoundNotice::Destroying);
    EXPECT_EQ(list.DXSound(), nullptr);
    EXPECT_EQ(sound.live, 0);
}

TEST(WaveListDevice, NoSoundDeviceLoadsAndPlaysSilently) {
    FakeSound sound;
    sound.initialized = false;
    WaveList list;
    list.SetDXSound(&sound);
    sound.Send(SoundNotice::Initialize);
    auto& item = list.Items.Add();
    item.SetWave(Beep());
    const Bytes file = list.Items.SaveToStream();
    list.Items.LoadFromStream(file);
    ASSERT_EQ(list.Items.Count(), 1);
    list.Items[0].Play();
    EXPECT_FALSE(list.Items[0].Initialized());
    EXPECT_EQ(sound.made, 0);
}

// ---- the file

Bytes SampleFile() {
    WaveList list;
    auto& a = list.Items.Add();
    a.Name = "dopad";
    a.SetWave(Beep());
    auto& b = list.Items.Add();
    b.SetLooped(true);
    b.SetMaxPlayingCount(300);
    list.Items.Add();
    return list.Items.SaveToStream();
}

std::string LoadError(WaveCollection& items, const Bytes& file) {
    try {
        items.LoadFromStream(file);
    } catch (const StreamError& e) {
        return e.what();
    }
    return "";
}

TEST(WaveListFile, RoundTripsEveryItemIncludingAnEmptyWave) {
    WaveList list;
    list.Items.LoadFromStream(SampleFile());
    ASSERT_EQ(list.Items.Count(), 3);
    EXPECT_EQ(list.Items[0].Name, "dopad");
    EXPECT_EQ(list.Items[0].GetWave(), Beep());
    EXPECT_FALSE(list.Items[0].Looped());
    EXPECT_TRUE(list.Items[1].Looped());
    EXPECT_EQ(list.Items[1].MaxPlayingCount(), 300);
    EXPECT_TRUE(list.Items[1].GetWave().Empty());
    EXPECT_EQ(list.Items.SaveToStream(), SampleFile());
}

TEST(WaveListFile, WavesBeyondTheFilesSampleBudgetAreRefusedAndTheListKeepsItsItems) {
    WaveList list;
    list.Items.LoadFromStream(SampleFile());
    WaveList big;
    for (int i = 0; i < 2; ++i)
        big.Items.Add().SetWave(
            Wave{MakePcmFormat(1, 22050, 8), std::vector<uint8_t>(9u << 20, 128)});
    EXPECT_EQ(LoadError(list.Items, big.Items.SaveToStream()), "Wave is invalid");
    ASSERT_EQ(list.Items.Count(), 3);
    EXPECT_EQ(list.Items[0].Name, "dopad");
}

TEST(WaveListFile, WritesTheEntriesInTheirOrder) {
    const Bytes file = SampleFile();
    const std::string text(file.begin(), file.end());
    EXPECT_NE(text.find("TWaveCollectionComponent"), std::string::npos);
    EXPECT_EQ(text.find("ColorTable"), std::string::npos);
    const auto name = text.find(
        "\x04Name\x06\x05"
        "dopad");
    const auto looped = text.find("\x06Looped\x08");
    const auto max = text.find("\x0FMaxPlayingCount\x02\x00", 0);
    const auto wave = text.find("\x09Wave.WAVE\x0A");
    ASSERT_NE(name, std::string::npos);
    EXPECT_LT(name, looped);
    EXPECT_LT(looped, max);
    EXPECT_LT(max, wave);
    // The unnamed items carry no Name entry.
    EXPECT_EQ(text.find("\x04Name", name + 1), std::string::npos);
    EXPECT_EQ(file[file.size() - 1], 0);
}

TEST(WaveListFile, AnyOrderLastWinsAndAbsentEntriesKeepDefaults) {
    ObjectStreamWriter w;
    w.BeginRoot("X", "Whatever");
    w.Name("List");
    w.BeginCollection();
    w.Integer(5);  // ordering hint
    w.BeginItem();
    w.Name("MaxPlayingCount");
    w.Integer(-3);
    w.Name("Name");
    w.String("a");
    w.Name("Name");
    w.String("b");
    w.End();
    w.BeginItem();
    w.Name("Looped");
    w.Ident("True");
    w.End();
    w.End();
    WaveList list;
    list.Items.LoadFromStream(w.Finish());
    ASSERT_EQ(list.Items.Count(), 2);
    EXPECT_EQ(list.Items[0].Name, "b");
    EXPECT_EQ(list.Items[0].MaxPlayingCount(), 0);
    EXPECT_FALSE(list.Items[0].Looped());
    EXPECT_TRUE(list.Items[1].Looped());
    EXPECT_TRUE(list.Items[1].Name.empty());
}

TEST(WaveListFile, ErrorsKeepTheItemsReadBeforeThem) {
    const auto withSecondItem = [](auto writeEntry) {
        ObjectStreamWriter w;
        w.BeginRoot("", "TWaveCollectionComponent");
        w.Name("List");
        w.BeginCollection();
        w.BeginItem();
        w.Name("Name");
        w.String("first");
        w.End();
        w.BeginItem();
        writeEntry(w);
        w.End();
        w.End();
        return w.Finish();
    };
    WaveList list;
    list.Items.Add();
    // An empty payload: too short even for the size field.
    EXPECT_EQ(LoadError(list.Items, withSecondItem([](ObjectStreamWriter& w) {
                            w.Name("Wave.WAVE");
                            w.Binary({});
                        })),
              "Stream read error");
    ASSERT_EQ(list.Items.Count(), 2);
    EXPECT_EQ(list.Items[0].Name, "first");

    EXPECT_EQ(LoadError(list.Items, withSecondItem([](ObjectStreamWriter& w) {
                            w.Name("Wave.WAVE");
                            w.Binary(Bytes(12, 'x'));
                        })),
              "Wave is invalid");
    EXPECT_EQ(LoadError(list.Items, withSecondItem([](ObjectStreamWriter& w) {
                            w.Name("Volume");
                            w.Integer(1);
                        })),
              "Error reading TWaveCollectionItem.Volume: Property Volume does not exist");
    EXPECT_EQ(LoadError(list.Items, withSecondItem([](ObjectStreamWriter& w) {
                            w.Name("Looped");
                            w.Integer(1);
                        })),
              "Error reading TWaveCollectionItem.Looped: Invalid property value");
    EXPECT_EQ(LoadError(list.Items, withSecondItem([](ObjectStreamWriter& w) {
                            w.Name("Name.Wave");
                            w.Integer(1);
                        })),
              "Error reading TWaveCollectionItem.Name.Wave: Invalid property path");
    EXPECT_EQ(LoadError(list.Items, withSecondItem([](ObjectStreamWriter& w) {
                            w.Name("Wave.Data");
                            w.Integer(1);
                        })),
              "Error reading TWaveCollectionItem.Wave.Data: Property Data does not exist");
    ASSERT_EQ(list.Items.Count(), 2);

    Bytes truncated = SampleFile();
    truncated.resize(150);  // inside the first item's samples
    EXPECT_EQ(LoadError(list.Items, truncated), "Stream read error");
    EXPECT_EQ(list.Items.Count(), 1);
    EXPECT_EQ(list.Items[0].Name, "dopad");
    // A flags byte asking for a child position that is not an integer.
    Bytes badFlags = SampleFile();
    const auto tpf0 =
        std::search(badFlags.begin(), badFlags.end(), std::begin("TPF0"), std::begin("TPF0") + 4);
    badFlags.insert(tpf0 + 4, {0xF2, 0x08});
    EXPECT_EQ(LoadError(list.Items, badFlags), "Invalid property value");
    Bytes notAList = SampleFile();
    notAList[0] = 0xFE;
    EXPECT_EQ(LoadError(list.Items, notAList), "Invalid stream format");
}

TEST(WaveListFile, IndexOutOfBoundsIsReported) {
    WaveList list;
    list.Items.Add();
    try {
        list.Items[1].Play();
        FAIL();
    } catch (const StreamError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
    EXPECT_THROW(list.Items[-1], StreamError);
}

TEST(WaveListFile, LoadingWhileInitializedRestoresAtOnce) {
    FakeSound sound;
    WaveList list;
    list.SetDXSound(&sound);
    list.Items.LoadFromStream(SampleFile());
    EXPECT_EQ(sound.live, 1);  // only the item with samples has a master buffer
    EXPECT_TRUE(list.Items[2].Initialized());
    list.Items.LoadFromStream(SampleFile());
    EXPECT_EQ(sound.live, 1);

    Wave bad = Beep();
    bad.Format.resize(4);
    list.Items.Clear();
    list.Items.Add().SetWave(bad);
    const Bytes file = list.Items.SaveToStream();
    EXPECT_EQ(LoadError(list.Items, file), "Sound Buffer cannot be made");
    EXPECT_EQ(list.Items.Count(), 1);
}

}  // namespace
}  // namespace pabuko
