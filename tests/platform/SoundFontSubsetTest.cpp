// The soundfont reduced to a track: which zones and samples it keeps, what it refuses, and
// what a MIDI file is found to play.
#include <gtest/gtest.h>

#include <set>

#include "SoundFontBuilder.h"
#include "platform/SoundFontSubset.h"

namespace pabuko {
namespace {

using test::TinySoundFont;

// Samples of one value each, so that the reduced file shows which it holds.
std::vector<uint8_t> Font() {
    auto flat = [](int16_t v) { return test::TinySample{std::vector<int16_t>(100, v)}; };
    test::TinySample rom = flat(4000);
    rom.type = 0x8001;
    return TinySoundFont({{0, 0, {{0, 127, 0}}},
                          {0, 5, {{0, 127, 1}}},
                          {128, 0, {{35, 36, 1}, {38, 38, 0}}},
                          {0, 9, {{0, 127, 2}}}},
                         {{{0, 127, -1}, {0, 59, 0}, {60, 127, 1}}, {{0, 127, 2}}, {{0, 127, 3}}},
                         {flat(1000), flat(2000), flat(3000), rom});
}

std::optional<SoundFontSubset> Reduce(const std::vector<uint8_t>& font,
                                      const TrackInstruments& track) {
    return SoundFontSubset::Make(
        [&font](uint64_t offset, void* out, size_t n) {
            if (offset > font.size() || n > font.size() - offset) return false;
            std::copy_n(font.begin() + ptrdiff_t(offset), n, static_cast<uint8_t*>(out));
            return true;
        },
        font.size(), track);
}

std::vector<uint8_t> Bytes(const SoundFontSubset& subset) {
    std::vector<uint8_t> bytes(subset.Size());
    EXPECT_TRUE(subset.Read(0, bytes.data(), bytes.size()));
    return bytes;
}

// The values of the sample points in the file's "smpl" chunk.
std::set<int16_t> SampleValues(const std::vector<uint8_t>& file) {
    for (size_t p = 0; p + 8 <= file.size(); ++p) {
        if (std::memcmp(file.data() + p, "smpl", 4) != 0) continue;
        const size_t n = file[p + 4] | file[p + 5] << 8 | file[p + 6] << 16;
        std::set<int16_t> values;
        for (size_t i = 0; i + 1 < n && p + 9 + i < file.size(); i += 2)
            values.insert(int16_t(file[p + 8 + i] | file[p + 9 + i] << 8));
        return values;
    }
    return {};
}

std::bitset<128> Keys(std::initializer_list<int> keys) {
    std::bitset<128> set;
    for (int k : keys) set.set(size_t(k));
    return set;
}

TEST(SoundFontSubsetTest, KeepsTheSamplesOfTheKeysPlayedOnly) {
    const auto font = Font();
    const std::vector<std::pair<TrackInstruments, std::set<int16_t>>> cases = {
        {{{0, Keys({64})}}, {0, 2000}},            // the upper zone of the instrument
        {{{0, Keys({30, 64})}}, {0, 1000, 2000}},  // both zones
        {{{128 * 128, Keys({36})}}, {0, 3000}},    // the kit's zone of that key alone
        {{{5, Keys({1})}, {128 * 128, Keys({38})}}, {0, 1000, 3000}},
    };
    for (const auto& [track, values] : cases) {
        const auto subset = Reduce(font, track);
        ASSERT_TRUE(subset);
        const auto bytes = Bytes(*subset);
        EXPECT_EQ(SampleValues(bytes), values);
        EXPECT_LT(subset->SampleBytes(), 2u * 400);
        // The reduced font is a soundfont this reads again, to the same.
        const auto again = Reduce(bytes, track);
        ASSERT_TRUE(again);
        EXPECT_EQ(Bytes(*again), bytes);
        EXPECT_FALSE(subset->Read(subset->Size() - 1, std::vector<uint8_t>(2).data(), 2));
    }
}

TEST(SoundFontSubsetTest, RefusesWhatItCannotReduce) {
    const auto font = Font();
    EXPECT_FALSE(Reduce(font, {{7, Keys({60})}}));  // no such preset
    EXPECT_FALSE(Reduce(font, {{9, Keys({60})}}));  // a ROM sample
    const TrackInstruments track{{0, Keys({64})}};
    ASSERT_TRUE(Reduce(font, track));
    // A file cut anywhere, or with a byte broken anywhere, is read in bounds; cut, refused.
    for (size_t cut = 0; cut < font.size(); ++cut) {
        EXPECT_FALSE(Reduce({font.begin(), font.begin() + ptrdiff_t(cut)}, track)) << cut;
        auto broken = font;
        broken[cut] ^= 0xff;
        if (const auto subset = Reduce(broken, track)) Bytes(*subset);
    }
}

// A Standard MIDI File of one track of the events (delta times included).
std::vector<uint8_t> Midi(std::vector<uint8_t> events, uint8_t format = 0) {
    events.insert(events.end(), {0, 0xff, 0x2f, 0});
    const uint8_t header[] = {
        'M', 'T', 'h',  'd', 0,   0,   0,   6, 0, format, 0,
        1,   1,   0xe0, 'M', 'T', 'r', 'k', 0, 0, 0,      uint8_t(events.size())};
    std::vector<uint8_t> m(sizeof header + events.size());
    std::copy(std::begin(header), std::end(header), m.begin());
    std::copy(events.begin(), events.end(), m.begin() + sizeof header);
    return m;
}

TEST(SoundFontSubsetTest, FindsWhatATrackPlays) {
    using T = TrackInstruments;
    // A program chosen before the first note; running status; a note off as velocity 0.
    EXPECT_EQ(InstrumentsOfTrack(Midi({0, 0xc1, 40, 0, 0x91, 60, 90, 10, 62, 90, 10, 60, 0})),
              (T{{40, Keys({60, 62})}}));
    // A note before the program change plays the piano first.
    EXPECT_EQ(InstrumentsOfTrack(Midi({0, 0x90, 60, 90, 10, 0xc0, 40, 0, 0x90, 64, 90})),
              (T{{0, Keys({60, 64})}, {40, Keys({60, 64})}}));
    // Channel 10 plays the kits.
    EXPECT_EQ(InstrumentsOfTrack(Midi({0, 0xc9, 8, 0, 0x99, 38, 90})),
              (T{{128 * 128 + 8, Keys({38})}}));
    EXPECT_EQ(InstrumentsOfTrack(Midi({0, 0xb0, 0, 0, 0, 0x90, 60, 90})), (T{{0, Keys({60})}}));
    EXPECT_FALSE(InstrumentsOfTrack(Midi({0, 0xb0, 0, 1, 0, 0x90, 60, 90})));     // another bank
    EXPECT_FALSE(InstrumentsOfTrack(Midi({0, 0xf0, 1, 0xf7, 0, 0x90, 60, 90})));  // sysex
    EXPECT_FALSE(InstrumentsOfTrack(Midi({0, 60, 90})));    // data before any status
    EXPECT_FALSE(InstrumentsOfTrack(Midi({0, 0x90, 60})));  // a note cut short
}

}  // namespace
}  // namespace pabuko
