// The data files the build ships, read back by the tool's own dumps, and the skin drawn as
// a playfield through the game's drawing code.
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "ToolRun.h"

namespace pabuko::art_test {
namespace {

using nlohmann::json;

json Dump(const std::string& what, const std::filesystem::path& file) {
    const ToolRun run = Tool(what + " dump " + file.string());
    EXPECT_EQ(run.status, 0) << file;
    return json::parse(run.out, nullptr, false);
}

struct ItemShape {
    int width, height, patternWidth, patterns;
    bool transparent;
};

void ExpectItems(const json& dump, const std::vector<ItemShape>& shapes) {
    ASSERT_TRUE(dump.is_object());
    EXPECT_FALSE(dump.contains("error"));
    ASSERT_EQ(dump["items"].size(), shapes.size());
    for (size_t i = 0; i < shapes.size(); ++i) {
        const json& item = dump["items"][i];
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_EQ(item["Picture"]["Kind"], "TBitmap");
        EXPECT_EQ(item["Picture"]["Width"], shapes[i].width);
        EXPECT_EQ(item["Picture"]["Height"], shapes[i].height);
        EXPECT_EQ(item["PatternWidth"], shapes[i].patternWidth);
        EXPECT_EQ(item["Patterns"].size(), size_t(shapes[i].patterns));
        EXPECT_EQ(item["Transparent"], shapes[i].transparent);
        EXPECT_EQ(item["TransparentColor"], 0xFF00FFu);  // magenta
    }
}

TEST(ShippedData, EachSkinHoldsTheSixPicturesOfThePlayfield) {
    for (const char* skin : {"new", "noc"}) {
        SCOPED_TRACE(skin);
        const json dump = Dump("images", BuildDir() / "data/skins" / (std::string(skin) + ".qvs"));
        ExpectItems(dump, {{400, 300, 0, 1, false},
                           {20, 20, 0, 1, true},
                           {390, 15, 15, 26, true},
                           {180, 15, 15, 12, true},
                           {12, 30, 0, 1, true},
                           {160, 300, 0, 1, false}});
        // Letter Z is pattern 25, the last cell of the strip.
        EXPECT_EQ(dump["items"][2]["Patterns"][25], json::array({375, 0, 15, 15}));
    }
}

TEST(ShippedData, BasicGraphicsHoldTheTitleAndTheTopListBackground) {
    ExpectItems(Dump("images", BuildDir() / "data/screen.src"),
                {{300, 300, 0, 1, false}, {250, 300, 0, 1, false}});
}

TEST(ShippedData, SoundListHoldsElevenPlayableEffects) {
    const json dump = Dump("waves", BuildDir() / "data/sounds/sfx.qvs");
    ASSERT_TRUE(dump.is_object());
    EXPECT_FALSE(dump.contains("error"));
    ASSERT_EQ(dump["items"].size(), 11u);
    std::set<uint32_t> crcs;
    for (const json& item : dump["items"]) {
        EXPECT_EQ(item["Looped"], false);
        EXPECT_EQ(item["Format"]["Tag"], 1);
        EXPECT_EQ(item["Format"]["Channels"], 1);
        EXPECT_EQ(item["Format"]["SamplesPerSec"], 22050);
        EXPECT_EQ(item["Format"]["BitsPerSample"], 16);
        EXPECT_GT(item["DataBytes"].get<int>(), 2000);
        crcs.insert(item["DataCrc32"].get<uint32_t>());
    }
    EXPECT_EQ(crcs.size(), 11u) << "two effects hold the same samples";
}

class ShippedSkin : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedSkin, DrawsAsAPlayfieldForEveryWordLength) {
    const std::string skin = (BuildDir() / "data/skins" / (GetParam() + ".qvs")).string();
    const QImage letters = [&] {
        TempDir dir("pabuko-shipped-letters");
        EXPECT_EQ(Tool("images dump " + skin + " --png " + dir.Path().string()).status, 0);
        return QImage(QString::fromStdString((dir.Path() / "item2.png").string()))
            .convertToFormat(QImage::Format_RGB32);
    }();
    ASSERT_EQ(letters.size(), QSize(390, 15));
    TempDir dir("pabuko-shipped-preview");
    for (const std::string word : {"A", "KOS TKA", "PROGRAMOVANI"}) {
        SCOPED_TRACE(word);
        const auto out = dir.Path() / "playfield.png";
        ASSERT_EQ(
            Tool("art preview " + skin + " " + out.string() + " --word \"" + word + "\"").status,
            0);
        const QImage frame =
            QImage(QString::fromStdString(out.string())).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(frame.size(), QSize(400, 300));
        // The word's letters stand in the word row from x0, exactly the skin's cells.
        const int x0 = 222 - 15 * int(word.size());
        for (size_t i = 0; i < word.size(); ++i) {
            if (word[i] == ' ') continue;
            EXPECT_EQ(frame.copy(x0 + 15 * int(i), 275, 15, 15),
                      letters.copy(15 * (word[i] - 'A'), 0, 15, 15))
                << "letter " << i;
        }
        // Navy counter digits are drawn on the panel.
        int navy = 0;
        for (int y = 124; y < 142; ++y)
            for (int x = 277; x < 340; ++x) {
                const QRgb c = frame.pixel(x, y);
                if (qBlue(c) > 90 && qRed(c) < 70 && qGreen(c) < 70) ++navy;
            }
        EXPECT_GT(navy, 30);

        // The level number (navy, at 326, 220) stands on the baseline of its grey-blue
        // "Level" label in the lives field, with nothing but the plain field right above it.
        auto inkRows = [&](int x0, int x1, auto isInk) {
            std::pair<int, int> rows{300, -1};
            for (int y = 219; y < 243; ++y)
                for (int x = x0; x < x1; ++x)
                    if (isInk(frame.pixel(x, y)))
                        rows = {std::min(rows.first, y), std::max(rows.second, y)};
            return rows;
        };
        const auto number = inkRows(
            326, 345, [](QRgb c) { return qBlue(c) > 100 && qRed(c) < 60 && qGreen(c) < 60; });
        const auto label = inkRows(276, 320, [](QRgb c) {
            return qBlue(c) > qRed(c) + 30 && qGray(c) < 160 && qRed(c) >= 40;
        });
        EXPECT_EQ(number.second, label.second);
        for (int x = 326; x < 345; ++x)
            EXPECT_GT(qGray(frame.pixel(x, number.first - 1)), 225) << x;
    }
}

TEST(ShippedData, HelpPageShowsTheSkinsOwnTiles) {
    std::ifstream in(BuildDir() / "docs/pabuko.html");
    ASSERT_TRUE(in) << "the build makes docs/pabuko.html";
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Every picture the page names is there.
    const std::regex source("src=\"([^\"]+)\"");
    std::set<std::string> pictures;
    for (std::sregex_iterator it(page.begin(), page.end(), source), end; it != end; ++it)
        pictures.insert((*it)[1]);
    for (const std::string& p : pictures)
        EXPECT_FALSE(QImage(QString::fromStdString((BuildDir() / "docs" / p).string())).isNull())
            << p;
    // All twelve special tiles, each the skin's own cell, its colour key made transparent.
    TempDir dir("pabuko-shipped-help");
    ASSERT_EQ(Tool("images dump " + (BuildDir() / "data/skins/new.qvs").string() + " --png " +
                   dir.Path().string())
                  .status,
              0);
    const QImage specials = QImage(QString::fromStdString((dir.Path() / "item3.png").string()))
                                .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(specials.size(), QSize(180, 15));
    for (int k = 0; k < 12; ++k) {
        const std::string name = "img/special-" + std::to_string(k) + ".png";
        EXPECT_TRUE(pictures.count(name)) << name;
        const QImage cell = QImage(QString::fromStdString((BuildDir() / "docs" / name).string()))
                                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(cell.size(), QSize(15, 15)) << name;
        int opaque = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 15; ++x) {
                const QRgb skin = specials.pixel(15 * k + x, y);
                if (qRgb(255, 0, 255) == skin) {
                    EXPECT_EQ(qAlpha(cell.pixel(x, y)), 0) << name << " " << x << "," << y;
                } else {
                    EXPECT_EQ(cell.pixel(x, y), skin) << name << " " << x << "," << y;
                    ++opaque;
                }
            }
        EXPECT_GT(opaque, 100) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkin, ::testing::Values("new", "noc"));

}  // namespace
}  // namespace pabuko::art_test
