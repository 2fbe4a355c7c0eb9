// Writes small valid inputs for the fuzzers, so that they start from real files.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "assets/Chatter.h"
#include "assets/ImageList.h"
#include "assets/ListFileBuilder.h"  // tests/assets
#include "assets/MusicSource.h"
#include "assets/Picture.h"
#include "assets/WaveList.h"
#include "endgame/TopListFile.h"
#include "levels/LevelSetFile.h"
#include "platform/SoundFontBuilder.h"  // tests/platform
#include "platform/TextEncoding.h"

namespace fs = std::filesystem;
using namespace pabuko;

namespace {

void Write(const fs::path& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A source line in Windows-1250, without the characters a chatter file cannot store.
std::string ChatterLine(std::string_view utf8) {
    std::string line;
    for (char c : Utf8ToCp1250Lossy(utf8))
        if (ChatterByteStorable(static_cast<unsigned char>(c))) line += c;
    return line;
}

// A MIDI header of the format and track count, then the chunks.
std::vector<uint8_t> Midi(uint32_t headerLength, uint16_t tracks,
                          const std::vector<std::vector<uint8_t>>& chunks) {
    std::vector<uint8_t> m{'M', 'T', 'h', 'd'};
    for (int s = 24; s >= 0; s -= 8) m.push_back(static_cast<uint8_t>(headerLength >> s));
    std::vector<uint8_t> header{0, 1, uint8_t(tracks >> 8), uint8_t(tracks), 0x01, 0xE0};
    header.resize(std::max<size_t>(headerLength, 6));
    m.insert(m.end(), header.begin(), header.end());
    for (const auto& c : chunks) m.insert(m.end(), c.begin(), c.end());
    return m;
}

std::vector<uint8_t> Chunk(const char* id, std::vector<uint8_t> body, int32_t extra = 0) {
    std::vector<uint8_t> c(id, id + 4);
    const auto size = static_cast<uint32_t>(static_cast<int32_t>(body.size()) + extra);
    for (int s = 24; s >= 0; s -= 8) c.push_back(static_cast<uint8_t>(size >> s));
    c.insert(c.end(), body.begin(), body.end());
    return c;
}

std::vector<uint32_t> Pixels(int w, int h) {
    std::vector<uint32_t> px;
    for (int i = 0; i < w * h; ++i)
        px.push_back(PixelFromRgb((i % 16) * 16, (i % 5) * 50, (i % 3) ? 0 : 255));
    return px;
}

std::vector<uint8_t> Rle8Dib() {
    std::vector<uint8_t> d;
    test::Append32(d, 40);
    test::Append32(d, 6);
    test::Append32(d, 3);
    test::Append16(d, 1);
    test::Append16(d, 8);
    test::Append32(d, 1);
    for (int i = 0; i < 3; ++i) test::Append32(d, 0);
    test::Append32(d, 2);
    test::Append32(d, 0);
    test::Append32(d, 0x00FF00FF);
    test::Append32(d, 0x00123456);
    test::Append(d, {3, 1, 0, 3, 0, 1, 0, 0, 0, 0, 0, 2, 1, 1, 2, 1, 0, 1});
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_seeds DIR\n";
        return 2;
    }
    const fs::path root = argv[1];
    const auto px = Pixels(30, 15);
    std::vector<std::vector<uint8_t>> pictures{
        PictureDataFromBmp(EncodeBmpFile(30, 15, px, 24)),
        PictureDataFromBmp(EncodeBmpFile(30, 15, px, 8)),
        PictureDataFromDib(EncodeDib(30, 15, px, 32)),
        PictureDataFromDib(Rle8Dib()),
        {4, 'T', 'D', 'I', 'B'},
    };
    for (size_t i = 0; i < pictures.size(); ++i) {
        Write(root / "fuzz_picture", "picture" + std::to_string(i), pictures[i]);
        Write(root / "fuzz_image_list", "list" + std::to_string(i),
              test::OneItemFile(pictures[i], 15, 15, i % 2 == 1, i == 2 ? 2 : 0, 0));
    }
    Write(root / "fuzz_picture", "bmpfile", EncodeBmpFile(3, 2, Pixels(3, 2), 24));
    Write(root / "fuzz_picture", "dib", EncodeDib(3, 2, Pixels(3, 2), 8));
    Write(root / "fuzz_image_list", "whole", test::OneItemFile(pictures[0], 0, 0));
    Write(root / "fuzz_image_list", "empty", test::ImageListFile([](ObjectStreamWriter&) {}));
    // Nine run-length pictures of 2048 × 1024 in a few bytes each: more pixels than one file
    // may make, so the fuzzer starts at the memory budget's refusal.
    std::vector<uint8_t> huge;
    for (uint32_t v : {40u, 2048u, 1024u}) test::Append32(huge, v);
    test::Append16(huge, 1);
    test::Append16(huge, 8);
    for (uint32_t v : {1u, 2u, 0u, 0u, 1u, 0u}) test::Append32(huge, v);
    test::Append(huge, {0, 0, 0, 0, 0, 1});
    Write(root / "fuzz_image_list", "over_budget", test::ImageListFile([&](ObjectStreamWriter& w) {
              for (int i = 0; i < 9; ++i) {
                  w.BeginItem();
                  w.Name("Picture.Data");
                  w.Binary(PictureDataFromDib(huge));
                  w.End();
              }
          }));

    // Wave lists: both sample sizes, mono and stereo, a looped item, a limit, an empty wave.
    WaveCollection waves;
    for (const auto& [channels, rate, bits] : {std::tuple{1, 22050, 8}, std::tuple{2, 44100, 16}}) {
        auto& item = waves.Add();
        item.Name = "w" + std::to_string(bits);
        item.SetLooped(bits == 16);
        item.SetMaxPlayingCount(channels);
        std::vector<uint8_t> data(60);
        for (size_t k = 0; k < data.size(); ++k) data[k] = static_cast<uint8_t>(k * 37);
        item.SetWave({MakePcmFormat(static_cast<uint16_t>(channels), static_cast<uint32_t>(rate),
                                    static_cast<uint16_t>(bits)),
                      data});
    }
    waves.Add();
    Write(root / "fuzz_wavelist", "sfx", waves.SaveToStream());

    auto bytes = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
    Write(root / "fuzz_scoring", "standard", bytes(SerializeScoringRules(ScoringRules{})));
    TopListEntries list = StandardTopList();
    list[0] = {"Hurbo", 123456};
    list[1] = {std::string(20, 'x'), -7};
    Write(root / "fuzz_toplist", "standard", bytes(EncodeTopList(StandardTopList())));
    Write(root / "fuzz_toplist", "played", bytes(EncodeTopList(list)));

    // Chatter: the game's own texts, packed as the build packs them, and a few odd files.
    const fs::path content = PABUKO_CONTENT_DIR;
    for (const char* skin : {"new", "noc"}) {
        std::vector<std::string> lines;
        for (const auto& line :
             SplitTextLines(ReadText(content / "chatter" / (std::string(skin) + ".txt"))))
            lines.push_back(ChatterLine(line));
        Write(root / "fuzz_chatter", skin, bytes(WriteChatterFile(lines)));
    }
    Write(root / "fuzz_chatter", "odd",
          bytes(WriteChatterFile({"%", "%%%A", "%Zx%9y%-z", "", "\xE8\xF8\xBE\x8A 100%"}) + "\n\r" +
                std::string(1, '\0') + "after"));
    Write(root / "fuzz_chatter", "many", bytes(std::string(300, '\n') + ScrambleChatter("last")));

    // MIDI: the game's music compiled as the build compiles it, and frames at the edges.
    for (const auto& entry : fs::directory_iterator(content / "music")) {
        if (entry.path().extension() != ".notes") continue;
        Write(root / "fuzz_midi", entry.path().stem().string(),
              CompileMusicSource(ReadText(entry.path()), entry.path().filename().string()));
    }
    const std::vector<uint8_t> endOfTrack{0x00, 0xFF, 0x2F, 0x00};
    Write(root / "fuzz_midi", "one", Midi(6, 1, {Chunk("MTrk", endOfTrack)}));
    Write(root / "fuzz_midi", "long_header", Midi(10, 1, {Chunk("MTrk", endOfTrack)}));
    Write(root / "fuzz_midi", "foreign_chunk",
          Midi(6, 2, {Chunk("XFIH", {1, 2, 3}), Chunk("MTrk", endOfTrack), Chunk("MTrk", {})}));
    Write(root / "fuzz_midi", "cut", Midi(6, 1, {Chunk("MTrk", endOfTrack, 1)}));
    Write(root / "fuzz_midi", "huge_chunk", Midi(6, 1, {Chunk("MTrk", endOfTrack, -5)}));

    // Soundfonts: two bytes for the instrument and keys asked for, then a small font of a
    // piano split at middle C and a kit.
    const auto font =
        test::TinySoundFont({{0, 0, {{0, 127, 0}}}, {128, 0, {{35, 36, 1}, {38, 38, 0}}}},
                            {{{0, 127, -1}, {0, 59, 0}, {60, 127, 1}}, {{0, 127, 2}}},
                            {{std::vector<int16_t>(64, 1000)},
                             {std::vector<int16_t>(80, -2000)},
                             {std::vector<int16_t>(48, 3000)}});
    for (const auto& [name, prefix] :
         {std::pair<const char*, std::vector<uint8_t>>{"piano", {0, 64}}, {"kit", {0x80, 36}}}) {
        auto seed = prefix;
        seed.insert(seed.end(), font.begin(), font.end());
        Write(root / "fuzz_soundfont", name, seed);
    }
    return 0;
}
