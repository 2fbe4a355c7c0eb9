// The pictures pabuko-tool paints: sizes and cells as the game draws them, the colour key
// where something must show through, and light places where the game writes text.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <map>
#include <memory>

#include "ToolRun.h"

namespace pabuko::art_test {
namespace {

constexpr QRgb kKey = qRgb(255, 0, 255);

// Each skin's letters have their own ink: indigo on cream, amber on night glass.
struct Skin {
    std::string name;
    bool (*isInk)(QRgb);
};
const std::vector<Skin> kSkins{
    {"new", [](QRgb c) { return qGray(c) < 150 && qBlue(c) > qRed(c) + 20; }},
    {"noc", [](QRgb c) { return qRed(c) > 150 && qGreen(c) > 100 && qBlue(c) < qGreen(c); }},
};

class ArtPictures : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>("pabuko-art-pictures");
        const ToolRun run = Tool("art render " + dir_->Path().string());
        ASSERT_EQ(run.status, 0);
        std::vector<std::string> names{"screen-0-title", "screen-1-toplist"};
        for (const Skin& skin : kSkins)
            for (const char* item :
                 {"0-background", "1-life", "2-letters", "3-specials", "4-barrier", "5-left"})
                names.push_back("skin-" + skin.name + "-" + item);
        for (const std::string& name : names) {
            QImage image(QString::fromStdString((dir_->Path() / (name + ".png")).string()));
            pictures_[name] = image.convertToFormat(QImage::Format_RGB32);
        }
    }

    static const QImage& SkinPicture(const Skin& skin, const std::string& item) {
        return pictures_.at("skin-" + skin.name + "-" + item);
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static const QImage& Picture(const std::string& name) { return pictures_.at(name); }

    static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000; }

    static double Luminance(QRgb c) {
        return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
    }

    struct Stats {
        double mean = 0, deviation = 0, darkest = 255;
        int keyed = 0;
    };
    static Stats Area(const QImage& image, int x, int y, int w, int h) {
        Stats s;
        double sum = 0, squares = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) {
                const QRgb c = At(image, i, j);
                if (c == kKey) ++s.keyed;
                const double l = Luminance(c);
                sum += l;
                squares += l * l;
                s.darkest = std::min(s.darkest, l);
            }
        const double n = double(w) * h;
        s.mean = sum / n;
        s.deviation = std::sqrt(std::max(0.0, squares / n - s.mean * s.mean));
        return s;
    }

    static QImage Cell(const QImage& strip, int index) { return strip.copy(15 * index, 0, 15, 15); }

    static std::unique_ptr<TempDir> dir_;
    static std::map<std::string, QImage> pictures_;
};

std::unique_ptr<TempDir> ArtPictures::dir_;
std::map<std::string, QImage> ArtPictures::pictures_;

TEST_F(ArtPictures, EveryPictureHasTheSizeItsPlaceNeeds) {
    std::map<std::string, QSize> sizes = {{"screen-0-title", {300, 300}},
                                          {"screen-1-toplist", {250, 300}}};
    for (const auto& skin : kSkins) {
        const std::string p = "skin-" + skin.name + "-";
        sizes[p + "0-background"] = {400, 300};
        sizes[p + "1-life"] = {20, 20};
        sizes[p + "2-letters"] = {26 * 15, 15};
        sizes[p + "3-specials"] = {12 * 15, 15};
        sizes[p + "4-barrier"] = {12, 30};
        sizes[p + "5-left"] = {160, 300};
    }
    for (const auto& [name, size] : sizes) {
        ASSERT_FALSE(Picture(name).isNull()) << name;
        EXPECT_EQ(Picture(name).size(), size) << name;
    }
}

TEST_F(ArtPictures, TilesAreOpaqueDistinctSquaresWithAVisibleSymbol) {
    for (const auto& skin : kSkins) {
        SCOPED_TRACE(skin.name);
        std::vector<QImage> cells;
        for (int i = 0; i < 26; ++i) cells.push_back(Cell(SkinPicture(skin, "2-letters"), i));
        for (int i = 0; i < 12; ++i) cells.push_back(Cell(SkinPicture(skin, "3-specials"), i));
        for (size_t i = 0; i < cells.size(); ++i) {
            const Stats all = Area(cells[i], 0, 0, 15, 15);
            EXPECT_EQ(all.keyed, 0) << "cell " << i << " has see-through pixels";
            // A glyph or symbol: the inner part is not one flat face.
            EXPECT_GT(Area(cells[i], 2, 2, 11, 11).deviation, 20.0) << "cell " << i;
            for (size_t j = 0; j < i; ++j) EXPECT_NE(cells[i], cells[j]) << i << " and " << j;
        }
    }
}

TEST_F(ArtPictures, LettersShareOneTileAndKeepTheirInkInside) {
    for (const auto& skin : kSkins) {
        SCOPED_TRACE(skin.name);
        const QImage& strip = SkinPicture(skin, "2-letters");
        for (int i = 0; i < 26; ++i) {
            const QImage cell = Cell(strip, i);
            // Same outline and bevel for every letter: the two outer rings match those of A,
            // so no tail or wide stroke (or its glow) reaches them.
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 15; ++x) {
                    if (x < 2 || x > 12 || y < 2 || y > 12) {
                        EXPECT_EQ(At(cell, x, y), At(strip, x, y))
                            << char('A' + i) << " " << x << "," << y;
                    }
                }
            // The letter's ink lies inside the face, centred.
            int ink = 0, left = 15, right = -1, top = 15, bottom = -1;
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 15; ++x) {
                    if (skin.isInk(At(cell, x, y))) {
                        ++ink;
                        left = std::min(left, x), right = std::max(right, x);
                        top = std::min(top, y), bottom = std::max(bottom, y);
                    }
                }
            EXPECT_GE(left, 2) << char('A' + i);
            EXPECT_LE(right, 12) << char('A' + i);
            EXPECT_GE(top, 2) << char('A' + i);
            EXPECT_LE(bottom, 12) << char('A' + i);
            EXPECT_NEAR((left + right) / 2.0, 7, 1.5) << char('A' + i);
            EXPECT_NEAR((top + bottom) / 2.0, 7, 1.5) << char('A' + i);
            EXPECT_GE(ink, 8) << char('A' + i);
        }
    }
}

TEST_F(ArtPictures, SpecialTilesReadAtAGlanceAgainstTheWell) {
    for (const auto& skin : kSkins) {
        SCOPED_TRACE(skin.name);
        const QImage& strip = SkinPicture(skin, "3-specials");
        // Codes 28, 29 and 30 take one, two and three tiles: that many white arrows.
        for (int count = 1; count <= 3; ++count) {
            const QImage cell = Cell(strip, count);
            for (int y : {3, 5}) {
                int arrows = 0;
                bool inArrow = false;
                for (int x = 2; x <= 12; ++x) {
                    const bool white = Luminance(At(cell, x, y)) > 235;
                    arrows += white && !inArrow;
                    inArrow = white;
                }
                EXPECT_EQ(arrows, count) << "code " << 27 + count << " row " << y;
            }
        }
        // The coin tiles' body is far lighter than the well they fall through.
        const double well = Area(SkinPicture(skin, "0-background"), 42, 0, 180, 270).mean;
        for (int code : {35, 36, 37})
            EXPECT_GT(Area(Cell(strip, code - 27), 2, 2, 2, 2).mean, well + 50) << code;
    }
}

TEST_F(ArtPictures, KeyShowsWhatLiesBehindTheLifeMarkerAndTheBarrier) {
    for (const auto& skin : kSkins) {
        SCOPED_TRACE(skin.name);
        const QImage& life = SkinPicture(skin, "1-life");
        for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}})
            EXPECT_EQ(At(life, x, y), kKey) << x << "," << y;
        EXPECT_GT(Area(life, 4, 3, 12, 12).keyed, 0);
        EXPECT_LT(Area(life, 4, 3, 12, 12).keyed, 100);
        const Stats lifeArea = Area(life, 0, 0, 20, 20);
        EXPECT_GT(lifeArea.keyed, 40);
        EXPECT_LT(lifeArea.keyed, 300);

        // The barrier is drawn at x0 - 10 and at 221: only its middle may cover anything, so
        // it stays inside the 11-pixel gap between well and stack on both sides.
        const QImage& barrier = SkinPicture(skin, "4-barrier");
        for (int y = 0; y < 30; ++y) {
            for (int x : {0, 1, 10, 11}) EXPECT_EQ(At(barrier, x, y), kKey) << x << "," << y;
            for (int x = 2; x <= 9; ++x) EXPECT_NE(At(barrier, x, y), kKey) << x << "," << y;
        }
    }
}

TEST_F(ArtPictures, BackgroundsAreOpaqueAndNeverUseTheKeyColour) {
    std::vector<const QImage*> pictures{&Picture("screen-0-title"), &Picture("screen-1-toplist")};
    for (const auto& skin : kSkins)
        for (const char* item : {"0-background", "5-left", "2-letters", "3-specials"})
            pictures.push_back(&SkinPicture(skin, item));
    for (const QImage* image : pictures)
        EXPECT_EQ(Area(*image, 0, 0, image->width(), image->height()).keyed, 0);
}

TEST_F(ArtPictures, CountersAreWrittenOnLightFields) {
    for (const auto& skin : kSkins) {
        SCOPED_TRACE(skin.name);
        const QImage& bg = SkinPicture(skin, "0-background");
        // Navy 12-point digits (16 pixels) at these tops, up to seven digits wide.
        for (auto [x, y] : {std::pair{277, 124}, {277, 164}, {326, 220}, {277, 261}}) {
            const Stats s = Area(bg, x, y, 60, 18);
            EXPECT_GT(s.mean, 200) << x << "," << y;
            EXPECT_GT(s.darkest, 150) << x << "," << y;
        }
        // Five life markers from x 275, 22 apart, 20 x 20: the marker's matte is this field.
        const Stats lives = Area(bg, 275, 200, 108, 20);
        EXPECT_GT(lives.mean, 200);
    }
}

TEST_F(ArtPictures, WellStacksAndWordRowAreDarkBehindTheTiles) {
    for (const auto& skin : kSkins) {
        SCOPED_TRACE(skin.name);
        const QImage& bg = SkinPicture(skin, "0-background");
        const QImage& left = SkinPicture(skin, "5-left");
        EXPECT_LT(Area(bg, 42, 0, 180, 270).mean, 60);      // the well
        EXPECT_LT(Area(bg, 233, 106, 15, 135).mean, 60);    // right stack, slots 8 to 0
        EXPECT_LT(Area(bg, 42, 275, 180, 15).mean, 70);     // word row
        EXPECT_LT(Area(left, 134, 106, 15, 135).mean, 60);  // left stack at x0 - 26
        // The mouths at rows 4 and 5 read as openings in the lighter wall above them.
        const double rightMouth = Area(bg, 222, 60, 11, 30).mean;
        const double leftMouth = Area(left, 149, 60, 11, 30).mean;
        EXPECT_LT(rightMouth, 70);
        EXPECT_LT(leftMouth, 70);
        EXPECT_GT(Area(bg, 222, 30, 11, 25).mean, rightMouth + 30);
        EXPECT_GT(Area(left, 149, 30, 11, 25).mean, leftMouth + 30);
    }
}

TEST_F(ArtPictures, LeftPictureMeetsTheBackgroundOnTheWellGrid) {
    // Item 5 lies at x0 - 160 = 62 - 15 * length: its stone grid must fall on the same
    // 15-pixel phase as the background's, whatever the word's length.
    auto darkestPhase = [&](const QImage& image, int from, int to, int origin) {
        double column[15] = {};
        for (int x = from; x < to; ++x)
            column[((x + origin) % 15 + 15) % 15] += Area(image, x, 0, 1, 270).mean;
        return int(std::min_element(column, column + 15) - column);
    };
    for (const auto& skin : kSkins) {
        SCOPED_TRACE(skin.name);
        const QImage& bg = SkinPicture(skin, "0-background");
        const QImage& left = SkinPicture(skin, "5-left");
        const int background = darkestPhase(bg, 0, 42, 0);
        for (int length = 1; length <= 12; ++length) {
            const int origin = 62 - 15 * length;
            EXPECT_EQ(darkestPhase(left, 0, 120, origin), background) << "word length " << length;
        }
        // The floor under the well continues across the seam.
        for (int y = 270; y < 300; ++y) EXPECT_EQ(At(left, 0, y), At(bg, 0, y)) << y;
    }
}

TEST_F(ArtPictures, TopListHasAQuietLightCardForTheNamesAndADarkSeatForTheClose) {
    const QImage& top = Picture("screen-1-toplist");
    const int rows[10] = {112, 128, 144, 159, 175, 191, 207, 222, 238, 254};
    for (int y : rows) {
        // Names from x 31, points from x 155, 11-pixel text.
        const Stats s = Area(top, 31, y, 205, 13);
        EXPECT_GT(s.mean, 215) << y;
        EXPECT_LT(s.deviation, 12) << y;
    }
    // The white "X" at 224,0 needs a dark place.
    EXPECT_LT(Area(top, 228, 4, 13, 13).mean, 110);
}

}  // namespace
}  // namespace pabuko::art_test
