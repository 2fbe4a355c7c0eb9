// pabuko-tool waves pack MANIFEST OUT: builds a wave list file (data/sounds/sfx.qvs) from a
// JSON manifest and WAV files.
// pabuko-tool waves dump FILE: prints a wave list file as JSON.
//
// Manifest (paths relative to the manifest; see content/README-manifests.md):
//   { "ResourceName": "WAVES",
//     "items": [ { "Name": "dopad", "Looped": false, "MaxPlayingCount": 0,
//                  "File": "landing.wav" } ] }
// Items are written in the order given; the game plays them by index only. Name (UTF-8 here,
// stored as Windows-1250) defaults to "", Looped to false, MaxPlayingCount to 0 (no limit).
// "File" is a RIFF WAVE file holding PCM, 8-bit unsigned or 16-bit signed, mono or stereo, at
// 100 to 200000 Hz; its "fmt " chunk is stored byte for byte and its "data" chunk as the
// samples. Without "File" the item has an empty wave (it plays nothing).
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "ToolCommands.h"
#include "assets/ObjectStream.h"
#include "assets/WaveList.h"
#include "platform/Files.h"
#include "platform/SoundMixer.h"
#include "platform/TextEncoding.h"

namespace pabuko::tool {

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// A WAV file as other programs write it: chunks padded to even sizes.
Wave ReadWavFile(const fs::path& path) {
    const auto file = ReadWholeFile(path.string());
    if (!file) throw std::runtime_error("cannot open " + path.string());
    const std::vector<uint8_t> b(file->begin(), file->end());
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
        std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error(path.string() + ": not a RIFF WAVE file");
    Wave wave;
    bool haveFormat = false, haveData = false;
    for (size_t pos = 12; b.size() - pos >= 8;) {
        const uint32_t size = Get32(b, pos + 4);
        const size_t body = pos + 8;
        if (size > b.size() - body) throw std::runtime_error(path.string() + ": cut short");
        const auto first = b.begin() + static_cast<std::ptrdiff_t>(body);
        if (std::memcmp(b.data() + pos, "fmt ", 4) == 0) {
            wave.Format.assign(first, first + size);
            haveFormat = true;
        } else if (std::memcmp(b.data() + pos, "data", 4) == 0) {
            wave.Data.assign(first, first + size);
            haveData = true;
        }
        pos = body + size + (size & 1);
        if (pos > b.size()) break;
    }
    if (!haveFormat || !haveData)
        throw std::runtime_error(path.string() + ": needs a \"fmt \" and a \"data\" chunk");
    if (!ConvertSamples(wave.Format, {}))
        throw std::runtime_error(path.string() +
                                 ": the game plays only 8/16-bit PCM, mono or stereo");
    return wave;
}

int Pack(const std::string& manifestPath, const std::string& outPath) {
    try {
        std::ifstream in(manifestPath);
        if (!in) throw std::runtime_error("cannot open " + manifestPath);
        const json manifest = json::parse(in);
        const fs::path base = fs::path(manifestPath).parent_path();

        WaveCollection list;
        for (const json& entry : manifest.at("items")) {
            WaveCollectionItem& item = list.Add();
            item.Name = Utf8ToCp1250Lossy(entry.value("Name", std::string()));
            item.SetLooped(entry.value("Looped", false));
            item.SetMaxPlayingCount(entry.value("MaxPlayingCount", 0));
            if (entry.contains("File"))
                item.SetWave(ReadWavFile(base / entry["File"].get<std::string>()));
        }
        const std::vector<uint8_t> bytes =
            list.SaveToStream(manifest.value("ResourceName", std::string("WAVES")));
        // What we write must load again.
        WaveCollection check;
        check.LoadFromStream(bytes);
        if (check.Count() != list.Count()) throw std::runtime_error("written list lost items");

        std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error("cannot write " + outPath);
    } catch (const std::exception& e) {
        std::cerr << "waves pack: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

json FormatJson(const std::vector<uint8_t>& block) {
    json format = {{"Bytes", block.size()}};
    if (const auto f = ParseWaveFormat(block)) {
        format["Tag"] = f->Tag;
        format["Channels"] = f->Channels;
        format["SamplesPerSec"] = f->SamplesPerSec;
        format["BitsPerSample"] = f->BitsPerSample;
    }
    return format;
}

int Dump(const std::string& path) {
    WaveCollection list;
    json result;
    bool failed = false;
    try {
        list.LoadFromFile(path);
    } catch (const StreamError& e) {
        result["error"] = e.what();
        failed = true;
    }
    json items = json::array();
    for (int i = 0; i < list.Count(); ++i) {
        const WaveCollectionItem& item = list[i];
        const Wave& wave = item.GetWave();
        uLong crc = crc32(0L, Z_NULL, 0);
        // zlib takes at most 4 GiB a call; the samples' length is a 32-bit field anyway.
        crc = crc32(crc, wave.Data.data(), static_cast<uInt>(wave.Data.size()));
        items.push_back({
            {"Name", Cp1250ToUtf8(item.Name)},
            {"Looped", item.Looped()},
            {"MaxPlayingCount", item.MaxPlayingCount()},
            {"Format", FormatJson(wave.Format)},
            {"DataBytes", wave.Data.size()},
            {"DataCrc32", static_cast<uint32_t>(crc)},
        });
    }
    result["items"] = items;
    std::cout << result.dump(2) << '\n';
    return failed ? 1 : 0;
}

const Registrar reg([](CLI::App& app) {
    auto* waves = app.add_subcommand("waves", "Wave list files (sounds/*.qvs)");
    waves->require_subcommand(1);

    auto* pack = waves->add_subcommand("pack", "Build a wave list file from a JSON manifest");
    static std::string manifest, out;
    pack->add_option("MANIFEST", manifest, "JSON manifest")->required();
    pack->add_option("OUT", out, "wave list file to write")->required();
    pack->callback([] { SetExitCode(Pack(manifest, out)); });

    auto* dump = waves->add_subcommand("dump", "Print a wave list file as JSON");
    static std::string file;
    dump->add_option("FILE", file, "wave list file")->required();
    dump->callback([] { SetExitCode(Dump(file)); });
});

}  // namespace

}  // namespace pabuko::tool
