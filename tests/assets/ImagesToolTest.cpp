// pabuko-tool images pack and dump, run as the build runs them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "ListFileBuilder.h"
#include "RunTool.h"

namespace pabuko {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

using testing::Tool;
using testing::ToolRun;

fs::path TempDir(const std::string& name) {
    const fs::path dir =
        fs::temp_directory_path() / ("pabuko-images-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(ImagesTool, PackThenDumpShowsEveryMemberAndThePictures) {
    const fs::path dir = TempDir("pack");
    QImage strip(60, 15, QImage::Format_RGB32);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 60; ++x) strip.setPixel(x, y, qRgb(x * 4, y * 10, 200));
    ASSERT_TRUE(strip.save(QString::fromStdString((dir / "strip.png").string())));
    std::ofstream(dir / "m.json") << R"({"items": [
        {"Name": "písmena", "PatternWidth": 15, "PatternHeight": 15, "TransparentColor": "#FF00FF",
         "Picture": {"File": "strip.png"}},
        {"Name": "dib", "SystemMemory": true, "Transparent": false, "TransparentColor": "clNavy",
         "SkipWidth": 3, "PatternWidth": 12, "Picture": {"File": "strip.png", "Kind": "TDIB", "BitCount": 32}},
        {"Name": "bez obrázku"}]})";
    const std::string list = (dir / "out.qvs").string();
    ASSERT_EQ(Tool("images pack " + (dir / "m.json").string() + " " + list).status, 0);

    const ToolRun dump = Tool("images dump " + list + " --png " + (dir / "png").string());
    ASSERT_EQ(dump.status, 0) << dump.out;
    const json j = json::parse(dump.out);
    EXPECT_FALSE(j.contains("error"));
    ASSERT_EQ(j["items"].size(), 3u);
    const json& a = j["items"][0];
    EXPECT_EQ(a["Name"], "písmena");
    EXPECT_EQ(a["TransparentColor"], 0xFF00FFu);
    EXPECT_EQ(a["Picture"], (json{{"Kind", "TBitmap"}, {"Width", 60}, {"Height", 15}}));
    EXPECT_EQ(a["Patterns"], json::parse("[[0,0,15,15],[15,0,15,15],[30,0,15,15],[45,0,15,15]]"));
    EXPECT_EQ(a["Surfaces"], json::parse("[[0,0,60,15]]"));
    EXPECT_EQ(a.size(), 11u);
    const json& b = j["items"][1];
    EXPECT_EQ(b["Picture"]["Kind"], "TDIB");
    EXPECT_EQ(b["SystemMemory"], true);
    EXPECT_EQ(b["Transparent"], false);
    EXPECT_EQ(b["TransparentColor"], 0x800000u);
    EXPECT_EQ(b["SkipWidth"], 3);
    EXPECT_EQ(b["Patterns"], json::parse("[[0,0,12,15],[15,0,12,15],[30,0,12,15],[45,0,12,15]]"));
    const json& c = j["items"][2];
    EXPECT_EQ(c["Picture"], (json{{"Kind", ""}, {"Width", 0}, {"Height", 0}}));
    EXPECT_TRUE(c["Patterns"].empty());

    const QImage back(QString::fromStdString((dir / "png" / "item1.png").string()));
    ASSERT_EQ(back.size(), strip.size());
    EXPECT_EQ(back.pixel(13, 7) & 0xFFFFFF, strip.pixel(13, 7) & 0xFFFFFF);
    EXPECT_FALSE(fs::exists(dir / "png" / "item2.png"));
}

TEST(ImagesTool, DamagedFileGivesTheErrorBesideTheItemsRead) {
    const fs::path dir = TempDir("damaged");
    auto bytes = test::ImageListFile([](ObjectStreamWriter& w) {
        w.BeginItem();
        w.Name("PatternWidth");
        w.Integer(15);
        w.End();
        w.BeginItem();
        w.Name("Picture.Data");
        w.Binary(std::vector<uint8_t>{4, 'T', 'D', 'I', 'B', 12, 0, 0, 0, 1, 0, 1, 0, 1, 0, 3, 0});
        w.End();
    });
    std::ofstream(dir / "bad.qvs", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    const ToolRun dump = Tool("images dump " + (dir / "bad.qvs").string());
    EXPECT_EQ(dump.status, 1);
    const json j = json::parse(dump.out);
    EXPECT_EQ(j["error"], "Bitcount in invalid (3)");
    ASSERT_EQ(j["items"].size(), 2u);
    EXPECT_EQ(j["items"][0]["PatternWidth"], 15);
    EXPECT_EQ(j["items"][1]["Picture"]["Kind"], "");
}

}  // namespace
}  // namespace pabuko
