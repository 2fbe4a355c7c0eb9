// The note-source compiler: what lands in the written MIDI file, and where a bad line is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/MusicSource.h"

namespace pabuko {
namespace {

struct MidiEvent {
    int Track;
    int64_t Tick;
    std::vector<uint8_t> Bytes;  // status and data; meta events as FF type data...
};

// Just enough of a Standard MIDI File reader to see what the compiler wrote.
std::vector<MidiEvent> ReadEvents(const std::vector<uint8_t>& f, int* tracks, int* division) {
    auto be = [&](size_t at, int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | f.at(at + i);
        return v;
    };
    EXPECT_EQ(std::string(f.begin(), f.begin() + 4), "MThd");
    *tracks = int(be(10, 2));
    *division = int(be(12, 2));
    std::vector<MidiEvent> events;
    size_t pos = 14;
    for (int t = 0; t < *tracks; ++t) {
        EXPECT_EQ(std::string(f.begin() + long(pos), f.begin() + long(pos) + 4), "MTrk");
        const size_t end = pos + 8 + be(pos + 4, 4);
        int64_t tick = 0;
        for (pos += 8; pos < end;) {
            uint32_t delta = 0;
            do delta = delta << 7 | (f.at(pos) & 0x7F);
            while (f.at(pos++) & 0x80);
            tick += delta;
            const uint8_t status = f.at(pos);
            size_t len = 0;
            if (status == 0xFF) {
                len = 3 + f.at(pos + 2);
            } else {
                len = (status & 0xF0) == 0xC0 ? 2 : 3;
            }
            events.push_back({t, tick, {f.begin() + long(pos), f.begin() + long(pos + len)}});
            pos += len;
        }
        EXPECT_EQ(pos, end);
    }
    return events;
}

const std::string kSong = R"(# a test song
tempo 150
part lead channel 3 instrument 74 gate 50
part drums channel 10
section A
lead: c4/4 e/8 g/8. | r/16 c5+e5/4.
drums: bd/2
end
section B
lead: a4/1
end
play A B*2
)";

TEST(MusicSourceTest, WritesTempoInstrumentsNotesAndLengths) {
    const auto file = CompileMusicSource(kSong, "song.notes");
    int tracks = 0, division = 0;
    const auto events = ReadEvents(file, &tracks, &division);
    EXPECT_EQ(tracks, 3);
    EXPECT_EQ(division, 480);

    bool tempo = false, program = false;
    std::vector<std::pair<int64_t, int>> leadOn, leadOff;
    std::vector<int64_t> ends;
    for (const auto& e : events) {
        const auto& b = e.Bytes;
        if (b[0] == 0xFF && b[1] == 0x51)
            tempo = (b[3] << 16 | b[4] << 8 | b[5]) == 400000;  // 150 per minute
        if (b[0] == 0xFF && b[1] == 0x2F) ends.push_back(e.Tick);
        if (b[0] == 0xC2) program = b[1] == 73;  // GM 74, numbered from 1
        if (b[0] == 0x92 && b[2] > 0) leadOn.push_back({e.Tick, b[1]});
        if (b[0] == 0x82) leadOff.push_back({e.Tick, b[1]});
    }
    EXPECT_TRUE(tempo);
    EXPECT_TRUE(program);
    // c4 e4 g4 (octave carried), the chord after a dotted eighth and a sixteenth rest,
    // then section B twice; every section is a whole note of 1920 ticks long.
    const std::vector<std::pair<int64_t, int>> on{{0, 60},    {480, 64},  {720, 67}, {1200, 72},
                                                  {1200, 76}, {1920, 69}, {3840, 69}};
    EXPECT_EQ(leadOn, on);
    // Gate 50: each note sounds for half its length.
    ASSERT_EQ(leadOff.size(), on.size());
    EXPECT_EQ(leadOff[0].first, 240);
    EXPECT_EQ(leadOff[2].first, 720 + 180);
    EXPECT_EQ(leadOff[6].first, 3840 + 960);
    // Every track ends with the song, so the file's length is the song's.
    EXPECT_EQ(ends, (std::vector<int64_t>{5760, 5760, 5760}));
}

TEST(MusicSourceTest, ABadLineIsRefusedWithItsFileAndLine) {
    const struct {
        std::string line;
        std::string says;
    } cases[] = {
        {"lead: c4/3", "power of two"}, {"lead: h4", "bad note"},  {"lead: c4/4 x", "bad note"},
        {"bass: c4", "no part 'bass'"}, {"lead: c9+r", "neither"}, {"tempo 500", "tempo"},
        {"loop A", "unknown line"},
    };
    for (const auto& c : cases) {
        const std::string text =
            "tempo 100\npart lead channel 1\nsection A\nlead: c4/4\n" + c.line + "\nend\nplay A\n";
        try {
            CompileMusicSource(text, "x.notes");
            ADD_FAILURE() << c.line << " was taken";
        } catch (const MusicSourceError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind("x.notes:5: ", 0), 0u) << what;
            EXPECT_NE(what.find(c.says), std::string::npos) << what;
        }
    }
    EXPECT_THROW(CompileMusicSource("part p channel 1\nsection A\np: c4\nend\nplay B\n", "y"),
                 MusicSourceError);
    EXPECT_THROW(CompileMusicSource("part p channel 1\nsection A\np: c4\n", "y"), MusicSourceError);
    EXPECT_THROW(CompileMusicSource("part p channel 17\n", "y"), MusicSourceError);
}

}  // namespace
}  // namespace pabuko
