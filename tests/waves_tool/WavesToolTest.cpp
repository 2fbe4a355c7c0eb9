#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "RunTool.h"
#include "assets/WaveFile.h"

namespace pabuko {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Bytes = std::vector<uint8_t>;

using testing::Tool;
using testing::ToolRun;

void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void Append(Bytes& b, const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
}
void Append32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A WAV file as an editor writes it: a padded odd chunk before the format.
Bytes WavFile(const Bytes& format, const Bytes& data) {
    Bytes b;
    Append(b, "RIFF");
    Append32(b, 0);
    Append(b, "WAVE");
    Append(b, "LIST");
    Append32(b, 3);
    b.insert(b.end(), {'a', 'b', 'c', 0});
    Append(b, "fmt ");
    Append32(b, static_cast<uint32_t>(format.size()));
    b.insert(b.end(), format.begin(), format.end());
    Append(b, "data");
    Append32(b, static_cast<uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

uint32_t Crc(const Bytes& b) {
    return static_cast<uint32_t>(crc32(crc32(0, Z_NULL, 0), b.data(), static_cast<uInt>(b.size())));
}

std::set<std::string> Keys(const json& j) {
    std::set<std::string> keys;
    for (auto& [k, v] : j.items()) keys.insert(k);
    return keys;
}

class WavesToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("pabuko-waves-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(WavesToolTest, PackedListDumpsExactlyItsItems) {
    const Bytes beep(301, 0x90);
    const Bytes stereo(400, 0x11);
    Write(dir / "beep.wav", WavFile(MakePcmFormat(1, 22050, 8), beep));
    Write(dir / "stereo.wav", WavFile(MakePcmFormat(2, 44100, 16), stereo));
    std::ofstream(dir / "sfx.json") << R"({"items": [
        {"Name": "dopad", "File": "beep.wav"},
        {"Name": "smyčka", "Looped": true, "MaxPlayingCount": 3, "File": "stereo.wav"},
        {}
    ]})";
    const fs::path out = dir / "sfx.qvs";
    ASSERT_EQ(Tool("waves pack " + (dir / "sfx.json").string() + " " + out.string()).status, 0);

    const ToolRun dump = Tool("waves dump " + out.string());
    ASSERT_EQ(dump.status, 0);
    const json j = json::parse(dump.out);
    EXPECT_EQ(Keys(j), (std::set<std::string>{"items"}));
    ASSERT_EQ(j["items"].size(), 3u);
    const json& a = j["items"][0];
    EXPECT_EQ(Keys(a), (std::set<std::string>{"Name", "Looped", "MaxPlayingCount", "Format",
                                              "DataBytes", "DataCrc32"}));
    EXPECT_EQ(a["Name"], "dopad");
    EXPECT_EQ(a["Looped"], false);
    EXPECT_EQ(a["MaxPlayingCount"], 0);
    EXPECT_EQ(a["Format"], (json{{"Bytes", 16},
                                 {"Tag", 1},
                                 {"Channels", 1},
                                 {"SamplesPerSec", 22050},
                                 {"BitsPerSample", 8}}));
    EXPECT_EQ(a["DataBytes"], 301);
    EXPECT_EQ(a["DataCrc32"].get<uint32_t>(), Crc(beep));
    const json& b = j["items"][1];
    EXPECT_EQ(b["Name"], "smyčka");
    EXPECT_EQ(b["Looped"], true);
    EXPECT_EQ(b["MaxPlayingCount"], 3);
    EXPECT_EQ(b["Format"]["Channels"], 2);
    EXPECT_EQ(b["DataCrc32"].get<uint32_t>(), Crc(stereo));
    const json& empty = j["items"][2];
    EXPECT_EQ(empty["Format"], (json{{"Bytes", 0}}));
    EXPECT_EQ(empty["DataBytes"], 0);
    EXPECT_EQ(empty["DataCrc32"], 0);
}

TEST_F(WavesToolTest, DamagedFileGivesItsMessageBesideTheItemsRead) {
    Write(dir / "beep.wav", WavFile(MakePcmFormat(1, 8000, 8), Bytes(5000, 0x80)));
    std::ofstream(dir / "sfx.json") << R"({"items": [{"Name": "a"}, {"File": "beep.wav"}]})";
    const fs::path out = dir / "sfx.qvs";
    ASSERT_EQ(Tool("waves pack " + (dir / "sfx.json").string() + " " + out.string()).status, 0);
    fs::resize_file(out, fs::file_size(out) - 100);

    const ToolRun dump = Tool("waves dump " + out.string());
    EXPECT_EQ(dump.status, 1);
    const json j = json::parse(dump.out);
    EXPECT_EQ(j["error"], "Stream read error");
    ASSERT_EQ(j["items"].size(), 2u);
    EXPECT_EQ(j["items"][0]["Name"], "a");
    EXPECT_EQ(j["items"][1]["DataBytes"], 0);  // its wave was never completed

    const ToolRun missing = Tool("waves dump " + (dir / "none.qvs").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(json::parse(missing.out).contains("error"));
}

TEST_F(WavesToolTest, PackRefusesSoundsTheGameCannotPlay) {
    Write(dir / "deep.wav", WavFile(MakePcmFormat(1, 44100, 24), Bytes(30, 0)));
    std::ofstream(dir / "sfx.json") << R"({"items": [{"File": "deep.wav"}]})";
    EXPECT_EQ(
        Tool("waves pack " + (dir / "sfx.json").string() + " " + (dir / "o.qvs").string()).status,
        1);
    EXPECT_FALSE(fs::exists(dir / "o.qvs"));
}

}  // namespace
}  // namespace pabuko
